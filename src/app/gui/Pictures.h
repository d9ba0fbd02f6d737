// The program's pictures, from its resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

namespace vexor {

QPixmap BackgroundPicture();  // the 100 x 100 tile stretched behind the panes
QPixmap LogoPicture();        // 528 x 334, start and about screens
QPixmap NavigationPicture();  // 128 x 274, the navigation pane
QPixmap ProgressPicture();    // 528 x 334; its top-left 174 x 70 in the progress box
QPixmap WorkBoxPicture();     // 174 x 70, saving and exporting
QPixmap CleaningPicture();    // 174 x 70, cleaning a log
QIcon ToolbarIcon(const char* name);
QIcon ApplicationIcon();

// Puts the report's logo into START/config/Logo.jpg when no file of that name is there (a
// user's own logo is never replaced). False when it could not be written.
bool InstallReportLogo(const std::string& startDirectory);

}  // namespace vexor
