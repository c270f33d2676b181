#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace arbrix {

// The lines of an INI file, read and edited as the Windows profile calls do; lines the
// edits do not touch stay exactly as they were.
class DocumentIni {
public:
    static DocumentIni DuTexte(const QString& texte);
    QString Texte() const;

    // The raw value (spaces around it dropped, enclosing quotes removed, not cut).
    std::optional<QString> Valeur(const QString& section, const QString& cle) const;
    // Returns true when the document changed.
    bool Modifie(const QString& section, const QString& cle, const std::optional<QString>& valeur);

    const QStringList& Lignes() const { return m_lignes; }

private:
    struct Bornes {
        qsizetype debut = -1; // first line after the section header
        qsizetype fin = -1;   // one past the section's last line
    };
    Bornes TrouveSection(const QString& section) const;
    qsizetype TrouveCle(const Bornes& bornes, const QString& cle) const;
    void AjouteCle(const QString& section, const QString& ligne);

    QStringList m_lignes;
    QString m_finDeLigne = QStringLiteral("\n");
};

// The text written for a value: cut at its first line break, quoted when it would not read
// back as written.
QString ValeurEcrite(const QString& valeur);

} // namespace arbrix
