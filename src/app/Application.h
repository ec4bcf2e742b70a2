#pragma once

class QApplication;

// Process-wide set-up shared by the program and its tests: Italian texts in
// Qt's own dialogs, the substitute fonts, the program's resources.
namespace Application {

void setUp(QApplication &app);

} // namespace Application
