// The scripted dialogs and recording shell under the names the tests use. Test support.
#pragma once

#include "frame/scripteddialogs.h"

namespace fyl::test {
using fyl::RecordingShell;
using fyl::ScriptedDialogs;
} // namespace fyl::test
