#include "ProfileEditors.h"

#include "AVI_ProfileWnd.h"
#include "MP3_ProfileWnd.h"
#include "RM_ProfileWnd.h"
#include "SWF_ProfileWnd.h"
#include "TGP_ProfileWnd.h"
#include "VOB_ProfileWnd.h"

namespace {

template <class F>
TfrmProfileEditor* Create(TComponent* owner) {
  return new F(owner);
}

// One line per format, in the order of the output format index.
const TProfileEditorFactory kFactories[OutputFormatCount] = {
    /* AVI  */ Create<TfrmAVIProfile>,
    /* MP4  */ nullptr,
    /* 3GP  */ Create<TfrmTGPProfile>,
    /* MPEG */ nullptr,
    /* MOV  */ nullptr,
    /* WMV  */ nullptr,
    /* RM   */ Create<TfrmRMProfile>,
    /* SWF  */ Create<TfrmSwfProfile>,
    /* VOB  */ Create<TfrmVobProfile>,
    /* ASF  */ nullptr,
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
