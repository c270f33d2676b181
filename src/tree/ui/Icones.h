#pragma once

// The icons of the tree (one per image key) and the application icon, drawn as SVG files
// compiled into the program's resources.

#include <QIcon>
#include <QStringList>

namespace arbrix {

// The 28 image keys, in the order of the image list.
const QStringList& ClesIcones();

// The icon of an image key; a null icon for an unknown key (such as the category "?").
QIcon IconeArbre(QStringView cle);

// The program's own icon (window, tray).
QIcon IconeApplication();

} // namespace arbrix
