#pragma once

#include <Qt>

// The frame of every dialog and message box: a title and a close button,
// never minimise or maximise. Without CustomizeWindowHint X11 window managers
// (openbox among them) give a dialog their default decorations.
inline constexpr Qt::WindowFlags kDialogFlags{Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint};
