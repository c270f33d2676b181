#include "cli/IssueAnalyse.h"

#include "i18n/Traductions.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"

#include <QRegularExpression>

namespace arbrix {

int CodeSortie(IssueAnalyse issue) {
    switch (issue) {
    case IssueAnalyse::Arborescence:
        return 0;
    case IssueAnalyse::AucunOuPlusieurs:
        return 2;
    default:
        return 1;
    }
}

bool EstMessage(const QString& texte, const QString& clé, const QString& premièreValeur) {
    const QString modèle = Traduction(clé);
    if (modèle.isEmpty())
        return false;
    const QStringList parties = modèle.split(QStringLiteral("%v"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    QString motif = u'^' + QRegularExpression::escape(parties.first());
    for (qsizetype i = 1; i < parties.size(); ++i) {
        const bool imposée = i == 1 && !premièreValeur.isEmpty();
        motif += imposée ? QRegularExpression::escape(premièreValeur) : QStringLiteral("(.*)");
        motif += QRegularExpression::escape(parties[i]);
    }
    motif += u'$';
    return QRegularExpression(motif, QRegularExpression::DotMatchesEverythingOption).match(texte).hasMatch();
}

bool EstMessageIntrouvable(const QString& texte) {
    return EstMessage(texte, QStringLiteral("MSG_ERREUR_OU_INCONNUE")) ||
           EstMessage(texte, QStringLiteral("MSG_ERREUR_OU_GROUPE_INCONNU")) ||
           EstMessage(texte, QStringLiteral("MSG_ERREUR_GROUPE_INCONNU")) ||
           EstMessage(texte, QStringLiteral("MSG_ERREUR_ELEMENT_NON_TROUVE")) ||
           EstMessage(texte, QStringLiteral("MSG_ERREUR"), QString::number(-RacineIntrouvable));
}

bool EstMessageRécursivité(const QString& texte) {
    return EstMessage(texte, QStringLiteral("MSG_ERREUR_RECURSIVITE"));
}

IssueAnalyse IssueDeLAnalyse(const Arbre& arbre, const InteractionTerminal& interaction) {
    if (interaction.ChoixDemandé())
        return IssueAnalyse::AucunOuPlusieurs;
    bool introuvable = false;
    bool erreur = false;
    for (const MessageAffiché& message : interaction.Messages()) {
        if (EstMessageIntrouvable(message.texte))
            introuvable = true;
        else if (!EstMessageRécursivité(message.texte))
            erreur = true;
    }
    if (erreur || arbre.isEmpty() != introuvable)
        return IssueAnalyse::Erreur;
    return introuvable ? IssueAnalyse::AucunOuPlusieurs : IssueAnalyse::Arborescence;
}

} // namespace arbrix
