// ImGui side of the dialog module, shared by its drawing files (platform-internal).
#pragma once

#include <imgui.h>

#include "platform/dialog_internal.h"

ImFont* DialogFont(const DialogState& dialog);
// Draws one running top-level dialog with its pages; only the innermost takes input.
void DrawTopLevel(DialogState& dialog, bool takesInput);
// Where ImGui last put the text caret (main-window pixels): the input method's place.
extern int CaretX;
extern int CaretY;
bool EnsureContext();
// Makes glyphs for text that has appeared in the running dialogs; true when the atlas changed
// (its texture must be uploaded again). Called between frames only.
bool RefreshDialogFonts();
