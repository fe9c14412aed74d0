#pragma once
// The program speaks French whatever the user's locale: Qt's own texts (standard buttons, the printer, page
// and file dialogs) are taken from Qt's French translations.

// Installs Qt's French translations into the running application once; false when they are not found, the
// program then going on with Qt's English texts.
bool installFrenchTranslations();
