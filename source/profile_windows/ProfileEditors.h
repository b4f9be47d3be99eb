// The editor window of each output format, for the main window: creates the window (layout read, texts
// applied), owned by `owner`. Formats whose editor is not built yet have no factory.
#pragma once

#include "ProfileEditor.h"

using TProfileEditorFactory = TfrmProfileEditor* (*)(TComponent* owner);

// The factory of a format, or null when the format has no editor window (yet) or the index is unknown.
TProfileEditorFactory ProfileEditorFactory(TOutputFormat format);
