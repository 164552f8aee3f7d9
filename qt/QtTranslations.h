// Qt's own texts (edit box menus, standard buttons) in Japanese, like the program's own.
#pragma once

// Loads Qt's Japanese translations whatever the user's locale; without them the texts Qt
// draws itself stay English. Call once, after the application object exists.
void installQtTranslations();
