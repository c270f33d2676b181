#include "search/Memos.h"

#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace arbrix {

namespace {

const QString& kSection = SectionConfig;
const QString& kCleMemos = CleConfig::Memos;
const QString& kCleMaximum = CleConfig::NbElementsMemorisesMax;
const QString& kCleNbAnciens = CleConfig::NbMemos;
const QString& kPrefixeAncien = CleConfig::PrefixeMemo;
constexpr QChar kSeparateurEntrees{30};

// Older versions could store a count that no 16-bit list ever reached; never walk further.
constexpr qint64 kAnciensMaximum = 32767;

// A stored number brought into the range of T; a bogus value never stops the loading.
template <typename T> T NombreBorne(const QString& texte) {
    const double valeur = std::nearbyint(NombreEnTete(texte));
    if (std::isnan(valeur))
        return 0;
    return T(std::clamp<double>(valeur, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

struct EntreeLue {
    EntreeMemo entree;
    bool epingle = false;
};

// One stored entry: "type<sep>flag<sep>name". The name is everything after the second separator,
// so a name that holds the separator itself survives a save and a load. An entry with fewer
// fields is a recent entry: "type<sep>name", or a bare name taken as a group.
std::optional<EntreeLue> LitEntree(const QString& texte, QChar separateur) {
    if (texte.isEmpty())
        return std::nullopt;
    const QStringList champs = texte.split(separateur);
    EntreeLue lue;
    if (champs.size() >= 3) {
        lue.entree.type = NombreBorne<qint32>(champs[0]);
        lue.epingle = NombreEnTete(champs[1]) == 1.0;
        lue.entree.nom = texte.section(separateur, 2);
    } else if (champs.size() == 2) {
        lue.entree.type = NombreBorne<qint32>(champs[0]);
        lue.entree.nom = champs[1];
    } else {
        lue.entree.type = 1;
        lue.entree.nom = texte;
    }
    if (lue.entree.nom.isEmpty())
        return std::nullopt;
    return lue;
}

QString TrimEspaces(const QString& texte) {
    qsizetype debut = 0;
    qsizetype fin = texte.size();
    while (debut < fin && texte[debut] == u' ')
        ++debut;
    while (fin > debut && texte[fin - 1] == u' ')
        --fin;
    return texte.mid(debut, fin - debut);
}

qint64 NombreAnciens(const LotIni& lot) {
    const auto nombre = NombreBorne<qint32>(lot.Lit(kSection, kCleNbAnciens, QStringLiteral("-1")));
    return std::min<qint64>(nombre, kAnciensMaximum);
}

} // namespace

const QString& SeparateurMemos() {
    static const QString separateur = QStringLiteral("- ").repeated(300);
    return separateur;
}

void Memos::Charge(const QString& fichierIni) {
    const LotIni lot(fichierIni);
    m_maximum = NombreBorne<qint16>(lot.Lit(kSection, kCleMaximum, QString::number(MaximumParDefaut)));
    const QString valeur = TrimEspaces(lot.Lit(kSection, kCleMemos, QString()));
    if (!valeur.isEmpty()) {
        ChargeTexte(valeur);
        return;
    }
    m_elements.clear();
    m_position = SansSeparateurToutEpingle;
    const qint64 nombre = NombreAnciens(lot);
    for (qint64 n = 1; n <= nombre; ++n) {
        const QString cle = kPrefixeAncien + QString::number(n);
        if (const auto lue = LitEntree(lot.Lit(kSection, cle, QString()), u';'))
            Ajoute(lue->entree, lue->epingle);
    }
}

void Memos::ChargeTexte(const QString& valeurMemos) {
    m_elements.clear();
    m_position = SansSeparateurToutEpingle;
    const QString valeur = TrimEspaces(valeurMemos);
    if (valeur.isEmpty())
        return;
    for (const QString& partie : valeur.split(kSeparateurEntrees)) {
        if (const auto lue = LitEntree(partie, u'|'))
            Ajoute(lue->entree, lue->epingle);
    }
}

// The first recent entry of a load opens the recent section; pinned entries that follow it in
// the stored text stay among the recent ones.
void Memos::Ajoute(const EntreeMemo& entree, bool epingle) {
    const bool sectionRecenteOuverte = m_position != SansSeparateurToutEpingle;
    if (epingle || sectionRecenteOuverte) {
        m_elements.append(entree);
        return;
    }
    if (m_elements.isEmpty()) {
        m_position = SansSeparateurToutRecent;
    } else {
        m_position = m_elements.size();
        m_elements.append({SeparateurMemos(), 0});
    }
    m_elements.append(entree);
}

QString Memos::TexteSauvegarde() const {
    QStringList parties;
    parties.reserve(m_elements.size());
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        if (EstSeparateur(i))
            continue;
        QString nom = m_elements[i].nom;
        // Either would split or cut the stored list when read back.
        for (const QChar coupure : {kSeparateurEntrees, QChar(u'\n'), QChar(u'\r')})
            nom.replace(coupure, u' ');
        parties.append(QString::number(m_elements[i].type) + u'|' + (EstEpingle(i) ? u'1' : u'0') + u'|' +
                       nom);
    }
    return parties.join(kSeparateurEntrees);
}

void Memos::Ecrit(LotIni& lot) const {
    // Counted before any change, as the file holds them.
    const qint64 anciens = NombreAnciens(lot);
    lot.Ecrit(kSection, kCleMaximum, QString::number(m_maximum));
    lot.Ecrit(kSection, kCleMemos, TexteSauvegarde());
    if (anciens >= 0) {
        lot.Ecrit(kSection, kCleNbAnciens, std::nullopt);
        for (qint64 n = 0; n <= anciens; ++n)
            lot.Ecrit(kSection, kPrefixeAncien + QString::number(n), std::nullopt);
    }
}

EcritureIni Memos::Sauve(const QString& fichierIni) const {
    LotIni lot(fichierIni);
    Ecrit(lot);
    return lot.Enregistre();
}

bool Memos::EstSeparateur(qsizetype i) const {
    return m_position >= 0 && i == m_position;
}

bool Memos::EstEpingle(qsizetype i) const {
    if (i < 0 || i >= m_elements.size() || EstSeparateur(i))
        return false;
    return m_position == SansSeparateurToutEpingle || i < m_position;
}

qsizetype Memos::MemoriseRecherche(const QString& nom, qint32 type) {
    qsizetype i = IndexDansListe(nom, Qt::CaseInsensitive);
    if (i >= 0) {
        const bool recentNonPremier = m_position != SansSeparateurToutEpingle && i > m_position + 1;
        if (recentNonPremier) {
            m_elements.removeAt(i);
            i = m_position < 0 ? 0 : m_position + 1;
            m_elements.insert(i, {nom, type});
        } else {
            m_elements[i].type = type;
        }
    } else if (m_position == SansSeparateurToutEpingle) {
        m_position = m_elements.size();
        m_elements.append({SeparateurMemos(), 0});
        i = m_elements.size();
        m_elements.append({nom, type});
    } else {
        i = m_position < 0 ? 0 : m_position + 1;
        m_elements.insert(i, {nom, type});
    }
    Coupe();
    return i < m_elements.size() ? i : -1;
}

// Keeps N recent entries below the separator line (N + 1 when there is no separator line).
// A negative N counts as 0, so pinned entries are never trimmed.
void Memos::Coupe() {
    const qsizetype n = std::max<qsizetype>(m_maximum, 0);
    const qsizetype limite = std::max<qsizetype>(m_position, 0) + n + 1;
    if (m_elements.size() > limite)
        m_elements.resize(limite);
}

bool Memos::Supprime(qsizetype i) {
    if (i < 0 || i >= m_elements.size() || EstSeparateur(i))
        return false;
    m_elements.removeAt(i);
    if (m_position >= 0 && i < m_position)
        --m_position;
    return true;
}

qsizetype Memos::IndexApresSuppression(qsizetype i) const {
    if (m_elements.isEmpty())
        return -1;
    return std::clamp<qsizetype>(i, 0, m_elements.size() - 1);
}

qsizetype Memos::SupprimeParNom(const QString& nom) {
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        if (!EstSeparateur(i) && m_elements[i].nom.compare(nom, Qt::CaseInsensitive) == 0) {
            Supprime(i);
            return i;
        }
    }
    return -1;
}

qsizetype Memos::IndexDansListe(const QString& texte, Qt::CaseSensitivity cs) const {
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        if (m_elements[i].nom.compare(texte, cs) == 0)
            return i;
    }
    return -1;
}

QList<qsizetype> Memos::Correspondances(const QString& texte) const {
    QList<qsizetype> indices;
    if (texte.isEmpty())
        return indices;
    for (qsizetype i = 0; i < m_elements.size(); ++i) {
        if (m_elements[i].nom.contains(texte, Qt::CaseInsensitive))
            indices.append(i);
    }
    return indices;
}

QList<EntreeMemo> Memos::ListeEdition() const {
    QList<EntreeMemo> liste = m_elements;
    if (m_position == SansSeparateurToutEpingle)
        liste.append({SeparateurMemos(), 0});
    else if (m_position == SansSeparateurToutRecent)
        liste.prepend({SeparateurMemos(), 0});
    return liste;
}

void Memos::AppliqueListeEdition(const QList<EntreeMemo>& elements) {
    m_elements.clear();
    m_position = SansSeparateurToutEpingle;
    for (const EntreeMemo& entree : elements) {
        if (entree.nom == SeparateurMemos()) {
            if (m_position != SansSeparateurToutEpingle)
                continue;
            m_position = m_elements.size();
        }
        m_elements.append(entree);
    }
    Coupe();
}

// ---------------------------------------------------------------------------------------------

bool Completion::TexteSaisi(const Memos& memos, const QString& texte) {
    if (texte == m_dernierTexte)
        return false;
    m_dernierTexte = texte;
    Vide();
    m_indices = memos.Correspondances(texte);
    m_candidats.reserve(m_indices.size());
    for (qsizetype i : m_indices)
        m_candidats.append(memos.Element(i));
    return true;
}

void Completion::Vide() {
    m_candidats.clear();
    m_indices.clear();
    m_selection = -1;
}

const EntreeMemo* Completion::CandidatSelectionne() const {
    if (m_selection < 0 || m_selection >= m_candidats.size())
        return nullptr;
    return &m_candidats[m_selection];
}

bool Completion::Monte() {
    if (m_selection < 1)
        return false;
    --m_selection;
    return true;
}

bool Completion::Descend() {
    if (m_selection >= m_candidats.size() - 1)
        return false;
    ++m_selection;
    return true;
}

bool Completion::Survole(qsizetype i) {
    if (i < 0 || i >= m_candidats.size())
        return false;
    m_selection = i;
    return true;
}

bool Completion::SupprimeSelection(Memos& memos) {
    if (!CandidatSelectionne())
        return false;
    const qsizetype element = m_indices[m_selection];
    if (!memos.Supprime(element))
        return false; // the separator line
    m_candidats.removeAt(m_selection);
    m_indices.removeAt(m_selection);
    for (qsizetype& i : m_indices) {
        if (i > element)
            --i;
    }
    if (m_selection >= m_candidats.size())
        m_selection = m_candidats.size() - 1;
    return true;
}

int HauteurCompletion(qsizetype candidats, int hauteurLigne, int hauteurDisponible) {
    const qint64 voulue = qint64(candidats) * hauteurLigne + 2;
    return int(std::max<qint64>(0, std::min<qint64>(voulue, hauteurDisponible)));
}

bool RechercheActivable(const QString& texte) {
    return !texte.isEmpty() && texte != SeparateurMemos();
}

} // namespace arbrix
