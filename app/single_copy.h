#pragma once
// One copy of Torvex per user session: two would write to the same meter, breaking every frame,
// and the one that quits last would overwrite the other's settings. A second start brings the
// running copy forward instead. Win32 files only.

// Claims the session for this copy; the first thing a start does. False when another copy runs:
// that one has been asked to come forward, and this one ends at once, before it searches, opens
// a bridge or reads the settings.
bool ClaimSessionCopy();
