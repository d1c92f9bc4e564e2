// The status bar's panes: the message pane, then CAP, NUM and SCRL, each of
// which shows its text while that lock is on.
#pragma once

class wxStatusBar;

constexpr int kMessagePane = 0;
// The room the toolkit keeps between a pane's edges and its text, each side.
constexpr int kPaneTextMargin = 5;

// Sets the four panes, the lock panes as wide as their texts.
void SetUpStatusPanes(wxStatusBar* bar);
// Shows or clears each lock pane's text by the keyboard's lock state.
void UpdateLockPanes(wxStatusBar* bar);
