// Captions of menu items named by the user or by a plug-in.
#pragma once

#include <QString>

// One line of at most 60 characters (longer ones end in an ellipsis): a tab
// would start the shortcut column, a line break cut the caption off, a long
// name span the screen. "&" stays a character, no mnemonic.
QString menuItemCaption(const QString &name);
