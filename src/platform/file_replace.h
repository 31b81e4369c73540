// Replacing a file's whole contents so that a failure or a crash leaves the old or the new file.
#pragma once

#include <string>

// Writes the bytes to `name`.tmp, syncs it, renames it over `name` and syncs the folder.
// False if any step failed; the previous file is then untouched (unless only the folder sync
// after the rename failed, when the new file is already complete in its place).
bool ReplaceFileContents(const std::string& name, const std::string& bytes);

// Test seam: makes the `index`-th low-level step (counted from 0 across the next replacing
// writes: open, each write, sync, close, rename, folder sync) fail with `errorNumber`; a
// write chosen this way first writes half of what it was given when `shortWrite` is set.
// -1 disarms. FileStepsTaken counts the steps since the last arming.
void InjectFileFault(int index, int errorNumber, bool shortWrite);
int FileStepsTaken();

// Test seam: skips the syncs (they dominate when a fuzzer saves thousands of times a second).
void SkipFileSyncsForTests(bool skip);
