#pragma once
// The history's notice as the player sees it: a message box that does not
// wait for an answer, so the game goes on behind it.
#include "history/history_recorder.h"

namespace cifrano {

HistoryRecorder::Notice MessageBoxNotice();

}  // namespace cifrano
