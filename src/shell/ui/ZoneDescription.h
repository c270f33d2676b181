#pragma once

// The description and managed-by labels under the tree, for the node they describe. They take
// room only when they have something to show; a right click on the manager offers its menu.

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace arbrix {

struct EtatProgramme;

class ZoneDescription : public QObject {
    Q_OBJECT
public:
    ZoneDescription(QWidget* centre, const EtatProgramme& etat, QObject* parent);

    // The node of key cle has this description and this manager (Gestionnaire::Texte()).
    void Affiche(const QString& cle, const QString& description, const QString& gestionnaire);
    void Efface();
    // The key of the node the labels describe; empty when they describe none.
    const QString& CleDecrite() const { return m_cleDecrite; }

    QList<QWidget*> ControlesTitres() const;
    // The bold captions measured again, after their translation.
    void Dispose();
    // Lays the labels out above bas, across the width from gauche; returns the bottom of the
    // room left above them, ecart pixels apart (bas itself when they are hidden).
    int Place(int gauche, int largeur, int bas, int ecart);

    void ExecuteCommandeGerePar(int identifiant);

signals:
    // Shown or hidden: the window lays its area out again.
    void contenuChange();

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void afficheMenuGerePar();

    const EtatProgramme& m_etat;
    QString m_cleDecrite;
    QString m_gestionnaire; // fields separated by TAB
    QLabel* lblDescriptionLabel = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblGereParLabel = nullptr;
    QLabel* lblGerePar = nullptr;
};

} // namespace arbrix
