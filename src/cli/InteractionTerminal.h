#pragma once

// The analysis in a terminal: what the desktop program shows in a message box is written to the
// error stream as plain text, and nothing is ever asked. When a lookup finds several objects the
// choice is refused; the analysis keeps the candidates for the caller to list.

#include "tree/Interaction.h"

#include <QTextStream>

namespace arbrix {

class InteractionTerminal : public Interaction {
public:
    explicit InteractionTerminal(QTextStream& erreurs);

    ReponseMessage Message(const QString& texte, IconeMessage icone, BoutonsMessage boutons,
                           ReponseMessage defaut, const QString& titre) override;
    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override;

private:
    QTextStream& m_erreurs;
};

// A message for a terminal: CR LF and lone CR become LF, ending with one LF.
QString TexteTerminal(const QString& texte);

// One candidate line: name, type text and DN separated by tabs (tabs and line breaks inside the
// values become spaces, so that each candidate stays on one line of three fields).
QString LigneCandidat(const clsOccurrence& occurrence);

} // namespace arbrix
