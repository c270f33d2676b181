#include "cli/InteractionTerminal.h"

namespace arbrix {

namespace {

QString ChampSurUneLigne(QString valeur) {
    for (QChar& c : valeur) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return valeur;
}

} // namespace

InteractionTerminal::InteractionTerminal(QTextStream& erreurs)
    : m_erreurs(erreurs) {}

RéponseMessage InteractionTerminal::Message(const QString& texte, IcôneMessage icône, BoutonsMessage boutons,
                                            RéponseMessage défaut, const QString& titre) {
    (void)icône, (void)titre;
    m_erreurs << TexteTerminal(texte);
    m_erreurs.flush();
    return boutons == BoutonsMessage::Ok ? RéponseMessage::Ok : défaut;
}

std::optional<int> InteractionTerminal::ChoisitOccurrence(const ListeOccurrences& occurrences) {
    (void)occurrences;
    return std::nullopt;
}

QString TexteTerminal(const QString& texte) {
    QString résultat = texte;
    résultat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    résultat.replace(u'\r', u'\n');
    while (résultat.endsWith(u'\n'))
        résultat.chop(1);
    return résultat + u'\n';
}

QString LigneCandidat(const clsOccurrence& occurrence) {
    return ChampSurUneLigne(occurrence.Nom) + u'\t' + ChampSurUneLigne(occurrence.TypeObjetEnTexte) + u'\t' +
           ChampSurUneLigne(occurrence.DistinguishedName);
}

} // namespace arbrix
