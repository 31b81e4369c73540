// The pads' part of the modal loop (platform-internal: it works on the dialog's own state).
#pragma once

struct DialogState;

// Reads the pads and acts on the innermost dialog; true when anything changed.
bool FeedPadToDialog(DialogState& top);
// A new dialog: directions already held when it opens step only once let go and pushed again.
void ForgetDialogPad();
