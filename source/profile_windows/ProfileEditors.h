// The editor window of each output format, for the main window: creates the window (layout read, texts
// applied), owned by `owner`.
#pragma once

#include "ProfileEditor.h"

using TProfileEditorFactory = TfrmProfileEditor* (*)(TComponent* owner);

// The factory of a format, or null when the index names no format.
TProfileEditorFactory ProfileEditorFactory(TOutputFormat format);
