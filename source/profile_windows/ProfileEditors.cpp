#include "ProfileEditors.h"

#include "AAC_ProfileWnd.h"
#include "AC3_ProfileWnd.h"
#include "AMR_ProfileWnd.h"
#include "MP2_ProfileWnd.h"
#include "MP3_ProfileWnd.h"
#include "WAV_ProfileWnd.h"

namespace {

template <class F>
TfrmProfileEditor* Create(TComponent* owner) {
  return new F(owner);
}

// One line per format, in the order of the output format index.
const TProfileEditorFactory kFactories[OutputFormatCount] = {
    /* AVI  */ nullptr,
    /* MP4  */ nullptr,
    /* 3GP  */ nullptr,
    /* MPEG */ nullptr,
    /* MOV  */ nullptr,
    /* WMV  */ nullptr,
    /* RM   */ nullptr,
    /* SWF  */ nullptr,
    /* VOB  */ nullptr,
    /* ASF  */ nullptr,
    /* AAC  */ Create<TfrmAacProfile>,
    /* AC3  */ Create<TfrmAc3Profile>,
    /* MP2  */ Create<TfrmMp2Profile>,
    /* MP3  */ Create<TfrmMp3Profile>,
    /* AMR  */ Create<TfrmAmrProfile>,
    /* WAV  */ Create<TfrmWavProfile>,
};

}  // namespace

TProfileEditorFactory ProfileEditorFactory(TOutputFormat format) {
  return format < OutputFormatCount ? kFactories[format] : nullptr;
}
