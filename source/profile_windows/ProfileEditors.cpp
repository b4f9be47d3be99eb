#include "ProfileEditors.h"

#include "AAC_ProfileWnd.h"
#include "AC3_ProfileWnd.h"
#include "AMR_ProfileWnd.h"
#include "ASF_ProfileWnd.h"
#include "AVI_ProfileWnd.h"
#include "MOV_ProfileWnd.h"
#include "MP2_ProfileWnd.h"
#include "MP3_ProfileWnd.h"
#include "MP4_ProfileWnd.h"
#include "MPEG_ProfileWnd.h"
#include "RM_ProfileWnd.h"
#include "SWF_ProfileWnd.h"
#include "TGP_ProfileWnd.h"
#include "VOB_ProfileWnd.h"
#include "WAV_ProfileWnd.h"
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
    /* 3GP  */ Create<TfrmTGPProfile>,
    /* MPEG */ Create<TfrmMPEGProfile>,
    /* MOV  */ Create<TfrmMovProfile>,
    /* WMV  */ Create<TfrmWmvProfile>,
    /* RM   */ Create<TfrmRMProfile>,
    /* SWF  */ Create<TfrmSwfProfile>,
    /* VOB  */ Create<TfrmVobProfile>,
    /* ASF  */ Create<TfrmAsfProfile>,
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
