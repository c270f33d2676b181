#pragma once

#include <QList>
#include <QString>

namespace arbrix {

struct TexteParDefaut {
    QString cle;
    QString texte;
};

// Every catalogue key with its built-in French text, in loading order.
const QList<TexteParDefaut>& TextesParDefaut();

} // namespace arbrix
