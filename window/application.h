#pragma once

class QApplication;

// What the whole program shares before its window is built: its name and
// version, its icon, the serif font every control uses, and Bulgarian texts for the
// menus Qt itself draws.
void prepareApplication(QApplication& app);
