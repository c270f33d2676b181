#include "settings/DocumentIni.h"

namespace arbrix {

namespace {

bool EstGuillemet(QChar c) {
    return c == u'"' || c == u'\'';
}

bool EntreGuillemets(QStringView texte) {
    return texte.size() >= 2 && EstGuillemet(texte.front()) && texte.back() == texte.front();
}

// "[name]" (the closing bracket may be missing): the trimmed name.
std::optional<QString> NomSection(const QString& ligne) {
    const QString texte = ligne.trimmed();
    if (!texte.startsWith(u'['))
        return std::nullopt;
    const qsizetype fin = texte.indexOf(u']');
    return texte.mid(1, fin < 0 ? -1 : fin - 1).trimmed();
}

struct LigneCle {
    QString cle;
    QString valeur;
};

// "key=value" outside comments and section headers.
std::optional<LigneCle> AnalyseCle(const QString& ligne) {
    const QString texte = ligne.trimmed();
    if (texte.isEmpty() || texte.startsWith(u';') || texte.startsWith(u'['))
        return std::nullopt;
    const qsizetype egal = texte.indexOf(u'=');
    if (egal <= 0)
        return std::nullopt;
    return LigneCle{texte.left(egal).trimmed(), texte.mid(egal + 1).trimmed()};
}

bool MemeNom(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString ValeurEcrite(const QString& valeur) {
    QString texte = valeur;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (texte.at(i) == u'\r' || texte.at(i) == u'\n') {
            texte.truncate(i);
            break;
        }
    }
    const bool espacesAuBord = !texte.isEmpty() && (texte.front().isSpace() || texte.back().isSpace());
    if (espacesAuBord || EntreGuillemets(texte))
        return u'"' + texte + u'"';
    return texte;
}

DocumentIni DocumentIni::DuTexte(const QString& texte) {
    DocumentIni document;
    if (texte.contains(u"\r\n"))
        document.m_finDeLigne = QStringLiteral("\r\n");
    document.m_lignes = texte.split(u'\n');
    if (document.m_lignes.last().isEmpty())
        document.m_lignes.removeLast();
    // Every carriage return ending a line goes: a stray one would otherwise be taken off one
    // save at a time.
    for (QString& ligne : document.m_lignes) {
        while (ligne.endsWith(u'\r'))
            ligne.chop(1);
    }
    return document;
}

QString DocumentIni::Texte() const {
    QString texte;
    for (const QString& ligne : m_lignes)
        texte += ligne + m_finDeLigne;
    return texte;
}

DocumentIni::Bornes DocumentIni::TrouveSection(const QString& section) const {
    Bornes bornes;
    for (qsizetype i = 0; i < m_lignes.size(); ++i) {
        const auto nom = NomSection(m_lignes.at(i));
        if (!nom)
            continue;
        if (bornes.debut >= 0) {
            bornes.fin = i;
            return bornes;
        }
        if (MemeNom(*nom, section.trimmed()))
            bornes.debut = i + 1;
    }
    if (bornes.debut >= 0)
        bornes.fin = m_lignes.size();
    return bornes;
}

qsizetype DocumentIni::TrouveCle(const Bornes& bornes, const QString& cle) const {
    for (qsizetype i = bornes.debut; i >= 0 && i < bornes.fin; ++i) {
        const auto ligne = AnalyseCle(m_lignes.at(i));
        if (ligne && MemeNom(ligne->cle, cle.trimmed()))
            return i;
    }
    return -1;
}

std::optional<QString> DocumentIni::Valeur(const QString& section, const QString& cle) const {
    const qsizetype i = TrouveCle(TrouveSection(section), cle);
    if (i < 0)
        return std::nullopt;
    QString valeur = AnalyseCle(m_lignes.at(i))->valeur;
    if (EntreGuillemets(valeur))
        valeur = valeur.mid(1, valeur.size() - 2);
    return valeur;
}

bool DocumentIni::Modifie(const QString& section, const QString& cle, const std::optional<QString>& valeur) {
    const Bornes bornes = TrouveSection(section);
    const qsizetype i = TrouveCle(bornes, cle);
    if (!valeur) {
        if (i < 0)
            return false;
        m_lignes.removeAt(i);
        return true;
    }
    if (i < 0) {
        AjouteCle(section, cle.trimmed() + u'=' + ValeurEcrite(*valeur));
        return true;
    }
    const QString ligne = AnalyseCle(m_lignes.at(i))->cle + u'=' + ValeurEcrite(*valeur);
    if (m_lignes.at(i) == ligne)
        return false;
    m_lignes[i] = ligne;
    return true;
}

void DocumentIni::AjouteCle(const QString& section, const QString& ligne) {
    const Bornes bornes = TrouveSection(section);
    if (bornes.debut < 0) {
        if (!m_lignes.isEmpty() && !m_lignes.last().trimmed().isEmpty())
            m_lignes.append(QString());
        m_lignes.append(u'[' + section.trimmed() + u']');
        m_lignes.append(ligne);
        return;
    }
    // After the section's last non-blank line, so the blank line before the next section stays.
    qsizetype position = bornes.fin;
    while (position > bornes.debut && m_lignes.at(position - 1).trimmed().isEmpty())
        --position;
    m_lignes.insert(position, ligne);
}

} // namespace arbrix
