#pragma once

// The configuration window's values, its checks on OK and how an accepted configuration is
// applied to the in-memory settings and the memorised entries. Nothing is written to the
// settings file here: the main window writes the configuration keys at exit.

#include "search/Memos.h"
#include "settings/Parametres.h"

#include <QList>
#include <QString>

#include <optional>

namespace arbrix {

// What the window edits, as the user left it.
struct SaisieConfiguration {
    QString Langue; // "Français" or a language file name without extension

    qint16 AccesAD = 0; // 0 the user's own ticket, 1 given account, 2 given account and domain
    QString AccesADServeur;
    QString AccesADDomaine;
    QString AccesADLogin;
    QString AccesADPassword;
    bool AccesADSansTLS = false;

    qint16 AnalyseParDefaut = 1;
    bool AnalyseAutreTypeSiAucuneReponse = true;
    bool ControlerVerrouilleExpire = false;
    bool DeplierGroupesContenantComptesDesactivesVerrouillesExpires = false;
    bool DeplierGroupesContenantGroupesRecursifs = true;
    bool DeplierGroupesEtOU = false;
    bool RepresenterGroupesRacineOU = false;
    bool AfficherNombreMembres = true;

    QString MessagerieCommande;
    QString MessagerieExpediteur;

    QString NbElementsMemorisesMax; // as typed
    QList<EntreeMemo> ListeMemos;   // the separator line included as an item of its own
};

// The values the window opens with. An empty language (first run, not chosen yet) shows as
// the built-in one.
SaisieConfiguration SaisieDepuis(const Parametres& parametres, const Memos& memos);

// Enumerators in ASCII: the window's meta-object compiler reads this header.
enum class ErreurSaisie {
    Aucune,
    Domaine,                 // mode 2 without a domain: "MSG_ERREUR_DOMAINE"
    NombreElementsMemorises, // not a whole number from 0 to 32767: "MSG_ERREUR_NOMBRE_ELEMENTS_MEMORISES_MAX"
    MessagerieCommande,      // a quote left open: "MSG_ERREUR_MESSAGERIE_COMMANDE"
    MessagerieExpediteur     // neither empty nor an address: "MSG_ERREUR_MESSAGERIE_EXPEDITEUR"
};

// The first check that fails, in the order of the window's fields.
ErreurSaisie VerifieSaisie(const SaisieConfiguration& saisie);
// The catalogue key of the message of an error; empty for Aucune.
QString CleMessage(ErreurSaisie erreur);
// The count as a number when it is a whole number in range.
std::optional<qint16> LitNombreElementsMemorises(const QString& texte);

struct IssueConfiguration {
    bool LangueChangee = false;      // tell that the language takes effect at the next start
    bool RedemarrageDemande = false; // the directory access changed: only a new start reconnects
};

// Applies a checked input: the settings take its values, the memorised entries are rebuilt from
// its list (entries above the separator pinned, below it recent, trimmed to the new count).
IssueConfiguration AppliqueSaisie(const SaisieConfiguration& saisie, Parametres& parametres, Memos& memos);

// Moving and deleting items of the memorised-entry list in the window. The separator line moves
// like an entry (that is how entries are pinned or unpinned) but is never deleted.
class EditionMemos {
public:
    explicit EditionMemos(QList<EntreeMemo> elements = {})
        : m_elements(std::move(elements)) {}

    const QList<EntreeMemo>& Elements() const { return m_elements; }
    bool EstSeparateur(qsizetype i) const;

    bool PeutMonter(qsizetype i) const { return i >= 1 && i < m_elements.size(); }
    bool PeutDescendre(qsizetype i) const { return i >= 0 && i < m_elements.size() - 1; }
    bool PeutSupprimer(qsizetype i) const;

    // Each returns the index to select afterwards (-1: none); an impossible move changes nothing
    // and returns i.
    qsizetype Monte(qsizetype i);
    qsizetype Descend(qsizetype i);
    qsizetype Supprime(qsizetype i);

private:
    QList<EntreeMemo> m_elements;
};

} // namespace arbrix
