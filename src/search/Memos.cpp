#include "search/Memos.h"

#include "settings/Ini.h"
#include "settings/Valeurs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace arbrix {

namespace {

const QString& kSection = SectionConfig;
const QString kCléMémos = QStringLiteral("Mémos");
const QString kCléMaximum = QStringLiteral("NbElémentsMémorisésMax");
const QString kCléNbAnciens = QStringLiteral("NbMémos");
const QString kPréfixeAncien = QStringLiteral("Mémo");
constexpr QChar kSéparateurEntrées{30};

// Older versions could store a count that no 16-bit list ever reached; never walk further.
constexpr qint64 kAnciensMaximum = 32767;

// A stored number brought into the range of T; a bogus value never stops the loading.
template <typename T> T NombreBorné(const QString& texte) {
    const double valeur = std::nearbyint(NombreEnTête(texte));
    if (std::isnan(valeur))
        return 0;
    return T(std::clamp<double>(valeur, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

struct EntréeLue {
    EntréeMémo entrée;
    bool épinglé = false;
};

// One stored entry: "type<sep>flag<sep>name". The name is everything after the second separator,
// so a name that holds the separator itself survives a save and a load. An entry with fewer
// fields is a recent entry: "type<sep>name", or a bare name taken as a group.
std::optional<EntréeLue> LitEntrée(const QString& texte, QChar séparateur) {
    if (texte.isEmpty())
        return std::nullopt;
    const QStringList champs = texte.split(séparateur);
    EntréeLue lue;
    if (champs.size() >= 3) {
        lue.entrée.type = NombreBorné<qint32>(champs[0]);
        lue.épinglé = NombreEnTête(champs[1]) == 1.0;
        lue.entrée.nom = texte.section(séparateur, 2);
    } else if (champs.size() == 2) {
        lue.entrée.type = NombreBorné<qint32>(champs[0]);
        lue.entrée.nom = champs[1];
    } else {
        lue.entrée.type = 1;
        lue.entrée.nom = texte;
    }
    if (lue.entrée.nom.isEmpty())
        return std::nullopt;
    return lue;
}

QString TrimEspaces(const QString& texte) {
    qsizetype début = 0;
    qsizetype fin = texte.size();
    while (début < fin && texte[début] == u' ')
        ++début;
    while (fin > début && texte[fin - 1] == u' ')
        --fin;
    return texte.mid(début, fin - début);
}

qint64 NombreAnciens(const QString& fichierIni) {
    const auto nombre =
        NombreBorné<qint32>(LitIni(fichierIni, kSection, kCléNbAnciens, QStringLiteral("-1")));
    return std::min<qint64>(nombre, kAnciensMaximum);
}

} // namespace

const QString& SéparateurMémos() {
    static const QString séparateur = QStringLiteral("- ").repeated(300);
    return séparateur;
}

void Mémos::Charge(const QString& fichierIni) {
    m_maximum = NombreBorné<qint16>(LitIni(fichierIni, kSection, kCléMaximum, QStringLiteral("20")));
    const QString valeur = TrimEspaces(LitIni(fichierIni, kSection, kCléMémos, QString()));
    if (!valeur.isEmpty()) {
        ChargeTexte(valeur);
        return;
    }
    m_éléments.clear();
    m_position = SansSéparateurToutÉpinglé;
    const qint64 nombre = NombreAnciens(fichierIni);
    for (qint64 n = 1; n <= nombre; ++n) {
        const QString clé = kPréfixeAncien + QString::number(n);
        if (const auto lue = LitEntrée(LitIni(fichierIni, kSection, clé, QString()), u';'))
            Ajoute(lue->entrée, lue->épinglé);
    }
}

void Mémos::ChargeTexte(const QString& valeurMémos) {
    m_éléments.clear();
    m_position = SansSéparateurToutÉpinglé;
    const QString valeur = TrimEspaces(valeurMémos);
    if (valeur.isEmpty())
        return;
    for (const QString& partie : valeur.split(kSéparateurEntrées)) {
        if (const auto lue = LitEntrée(partie, u'|'))
            Ajoute(lue->entrée, lue->épinglé);
    }
}

// The first recent entry of a load opens the recent section; pinned entries that follow it in
// the stored text stay among the recent ones.
void Mémos::Ajoute(const EntréeMémo& entrée, bool épinglé) {
    const bool sectionRécenteOuverte = m_position != SansSéparateurToutÉpinglé;
    if (épinglé || sectionRécenteOuverte) {
        m_éléments.append(entrée);
        return;
    }
    if (m_éléments.isEmpty()) {
        m_position = SansSéparateurToutRécent;
    } else {
        m_position = m_éléments.size();
        m_éléments.append({SéparateurMémos(), 0});
    }
    m_éléments.append(entrée);
}

QString Mémos::TexteSauvegarde() const {
    QStringList parties;
    parties.reserve(m_éléments.size());
    for (qsizetype i = 0; i < m_éléments.size(); ++i) {
        if (EstSéparateur(i))
            continue;
        QString nom = m_éléments[i].nom;
        nom.replace(kSéparateurEntrées, u' '); // would split the entry when read back
        parties.append(QString::number(m_éléments[i].type) + u'|' + (EstÉpinglé(i) ? u'1' : u'0') + u'|' +
                       nom);
    }
    return parties.join(kSéparateurEntrées);
}

void Mémos::Sauve(const QString& fichierIni) const {
    EcritIni(fichierIni, kSection, kCléMaximum, QString::number(m_maximum));
    EcritIni(fichierIni, kSection, kCléMémos, TexteSauvegarde());
    const qint64 anciens = NombreAnciens(fichierIni);
    if (anciens < 0)
        return;
    EcritIni(fichierIni, kSection, kCléNbAnciens, std::nullopt);
    for (qint64 n = 0; n <= anciens; ++n)
        EcritIni(fichierIni, kSection, kPréfixeAncien + QString::number(n), std::nullopt);
}

bool Mémos::EstSéparateur(qsizetype i) const {
    return m_position >= 0 && i == m_position;
}

bool Mémos::EstÉpinglé(qsizetype i) const {
    if (i < 0 || i >= m_éléments.size() || EstSéparateur(i))
        return false;
    return m_position == SansSéparateurToutÉpinglé || i < m_position;
}

qsizetype Mémos::MémoriseRecherche(const QString& nom, qint32 type) {
    qsizetype i = IndexDansListe(nom, Qt::CaseInsensitive);
    if (i >= 0) {
        const bool récentNonPremier = m_position != SansSéparateurToutÉpinglé && i > m_position + 1;
        if (récentNonPremier) {
            m_éléments.removeAt(i);
            i = m_position < 0 ? 0 : m_position + 1;
            m_éléments.insert(i, {nom, type});
        } else {
            m_éléments[i].type = type;
        }
    } else if (m_position == SansSéparateurToutÉpinglé) {
        m_position = m_éléments.size();
        m_éléments.append({SéparateurMémos(), 0});
        i = m_éléments.size();
        m_éléments.append({nom, type});
    } else {
        i = m_position < 0 ? 0 : m_position + 1;
        m_éléments.insert(i, {nom, type});
    }
    Coupe();
    return i < m_éléments.size() ? i : -1;
}

// Keeps N recent entries below the separator line (N + 1 when there is no separator line).
// A negative N counts as 0, so pinned entries are never trimmed.
void Mémos::Coupe() {
    const qsizetype n = std::max<qsizetype>(m_maximum, 0);
    const qsizetype limite = std::max<qsizetype>(m_position, 0) + n + 1;
    if (m_éléments.size() > limite)
        m_éléments.resize(limite);
}

bool Mémos::Supprime(qsizetype i) {
    if (i < 0 || i >= m_éléments.size() || EstSéparateur(i))
        return false;
    m_éléments.removeAt(i);
    if (m_position >= 0 && i < m_position)
        --m_position;
    return true;
}

qsizetype Mémos::IndexAprèsSuppression(qsizetype i) const {
    if (m_éléments.isEmpty())
        return -1;
    return std::clamp<qsizetype>(i, 0, m_éléments.size() - 1);
}

qsizetype Mémos::SupprimeParNom(const QString& nom) {
    for (qsizetype i = 0; i < m_éléments.size(); ++i) {
        if (!EstSéparateur(i) && m_éléments[i].nom.compare(nom, Qt::CaseInsensitive) == 0) {
            Supprime(i);
            return i;
        }
    }
    return -1;
}

qsizetype Mémos::IndexDansListe(const QString& texte, Qt::CaseSensitivity cs) const {
    for (qsizetype i = 0; i < m_éléments.size(); ++i) {
        if (m_éléments[i].nom.compare(texte, cs) == 0)
            return i;
    }
    return -1;
}

QList<qsizetype> Mémos::Correspondances(const QString& texte) const {
    QList<qsizetype> indices;
    if (texte.isEmpty())
        return indices;
    for (qsizetype i = 0; i < m_éléments.size(); ++i) {
        if (m_éléments[i].nom.contains(texte, Qt::CaseInsensitive))
            indices.append(i);
    }
    return indices;
}

QList<EntréeMémo> Mémos::ListeÉdition() const {
    QList<EntréeMémo> liste = m_éléments;
    if (m_position == SansSéparateurToutÉpinglé)
        liste.append({SéparateurMémos(), 0});
    else if (m_position == SansSéparateurToutRécent)
        liste.prepend({SéparateurMémos(), 0});
    return liste;
}

void Mémos::AppliqueListeÉdition(const QList<EntréeMémo>& éléments) {
    m_éléments.clear();
    m_position = SansSéparateurToutÉpinglé;
    for (const EntréeMémo& entrée : éléments) {
        if (entrée.nom == SéparateurMémos()) {
            if (m_position != SansSéparateurToutÉpinglé)
                continue;
            m_position = m_éléments.size();
        }
        m_éléments.append(entrée);
    }
    Coupe();
}

// ---------------------------------------------------------------------------------------------

bool Complétion::TexteSaisi(const Mémos& mémos, const QString& texte) {
    if (texte == m_dernierTexte)
        return false;
    m_dernierTexte = texte;
    Vide();
    m_indices = mémos.Correspondances(texte);
    m_candidats.reserve(m_indices.size());
    for (qsizetype i : m_indices)
        m_candidats.append(mémos.Élément(i));
    return true;
}

void Complétion::Vide() {
    m_candidats.clear();
    m_indices.clear();
    m_sélection = -1;
}

const EntréeMémo* Complétion::CandidatSélectionné() const {
    if (m_sélection < 0 || m_sélection >= m_candidats.size())
        return nullptr;
    return &m_candidats[m_sélection];
}

bool Complétion::Monte() {
    if (m_sélection < 1)
        return false;
    --m_sélection;
    return true;
}

bool Complétion::Descend() {
    if (m_sélection >= m_candidats.size() - 1)
        return false;
    ++m_sélection;
    return true;
}

bool Complétion::Survole(qsizetype i) {
    if (i < 0 || i >= m_candidats.size())
        return false;
    m_sélection = i;
    return true;
}

bool Complétion::SupprimeSélection(Mémos& mémos) {
    if (!CandidatSélectionné())
        return false;
    const qsizetype élément = m_indices[m_sélection];
    if (!mémos.Supprime(élément))
        return false; // the separator line
    m_candidats.removeAt(m_sélection);
    m_indices.removeAt(m_sélection);
    for (qsizetype& i : m_indices) {
        if (i > élément)
            --i;
    }
    if (m_sélection >= m_candidats.size())
        m_sélection = m_candidats.size() - 1;
    return true;
}

int HauteurComplétion(qsizetype candidats, int hauteurLigne, int hauteurDisponible) {
    const qint64 voulue = qint64(candidats) * hauteurLigne + 2;
    return int(std::max<qint64>(0, std::min<qint64>(voulue, hauteurDisponible)));
}

bool RechercheActivable(const QString& texte) {
    return !texte.isEmpty() && texte != SéparateurMémos();
}

} // namespace arbrix
