#pragma once

// The message box of every window: the answer to Interaction::Message on screen.

#include "tree/Interaction.h"

class QWidget;

namespace arbrix {

// A modal message box with the icon and buttons asked, titled with the program's title when no
// title is given. A Yes/No box closed without a choice answers défaut.
ReponseMessage AfficheMessage(QWidget* parent, const QString& texte, IconeMessage icone,
                              BoutonsMessage boutons, ReponseMessage defaut, const QString& titre,
                              bool auDessus);

} // namespace arbrix
