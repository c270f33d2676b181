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

ReponseMessage InteractionTerminal::Message(const QString& texte, IconeMessage icone, BoutonsMessage boutons,
                                            ReponseMessage defaut, const QString& titre) {
    (void)icone, (void)titre;
    m_erreurs << TexteTerminal(texte);
    m_erreurs.flush();
    // A question gets its default answer: nothing is asked here.
    return boutons == BoutonsMessage::Ok ? ReponseMessage::Ok : defaut;
}

std::optional<int> InteractionTerminal::ChoisitOccurrence(const ListeOccurrences& occurrences) {
    (void)occurrences;
    return std::nullopt;
}

QString TexteTerminal(const QString& texte) {
    QString resultat = texte;
    resultat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    resultat.replace(u'\r', u'\n');
    while (resultat.endsWith(u'\n'))
        resultat.chop(1);
    return resultat + u'\n';
}

QString LigneCandidat(const clsOccurrence& occurrence) {
    return ChampSurUneLigne(occurrence.Nom) + u'\t' + ChampSurUneLigne(occurrence.TypeObjetEnTexte) + u'\t' +
           ChampSurUneLigne(occurrence.DistinguishedName);
}

} // namespace arbrix
