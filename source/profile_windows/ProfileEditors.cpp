#include "ProfileEditors.h"

#include "ASF_ProfileWnd.h"
#include "AVI_ProfileWnd.h"
#include "MOV_ProfileWnd.h"
#include "MP3_ProfileWnd.h"
#include "MP4_ProfileWnd.h"
#include "MPEG_ProfileWnd.h"
#include "WMV_ProfileWnd.h"

namespace {

template <class F>
TfrmProfileEditor* Create(TComponent* owner) {
  return new F(owner);
}

// One line per format, in the order of the output format index.
const TProfileEditorFactory kFactories[OutputFormatCount] = {
    /* AVI  */ Create<TfrmAVIProfile>,
    /* MP4  */ Create<TfrmMp4Profile>,
    /* 3GP  */ nullptr,
    /* MPEG */ Create<TfrmMPEGProfile>,
    /* MOV  */ Create<TfrmMovProfile>,
    /* WMV  */ Create<TfrmWmvProfile>,
    /* RM   */ nullptr,
    /* SWF  */ nullptr,
    /* VOB  */ nullptr,
    /* ASF  */ Create<TfrmAsfProfile>,
    /* AAC  */ nullptr,
    /* AC3  */ nullptr,
    /* MP2  */ nullptr,
    /* MP3  */ Create<TfrmMp3Profile>,
    /* AMR  */ nullptr,
    /* WAV  */ nullptr,
};

}  // namespace

TProfileEditorFactory ProfileEditorFactory(TOutputFormat format) {
  return format < OutputFormatCount ? kFactories[format] : nullptr;
}
