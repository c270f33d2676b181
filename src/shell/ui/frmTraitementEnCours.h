#pragma once

// The small always-on-top window shown while a tree is being built, with the item being worked
// on and a Stop button.

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace arbrix {

class frmTraitementEnCours : public QDialog {
    Q_OBJECT
public:
    // arrêt runs when Stop is pressed.
    explicit frmTraitementEnCours(std::function<void()> arret, QWidget* parent = nullptr);

    void ChangeTexte(const QString& texte);
    QString Texte() const;
    // Width available to the item text, and the width of a text in its font, in pixels.
    int LargeurDisponible() const;
    int LargeurTexte(const QString& texte) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void traduit();

    std::function<void()> m_arret;
    QGroupBox* fraBordure = nullptr;
    QLabel* lblTraitementEnCoursInfo = nullptr;
    QLabel* lblTraitementEnCours = nullptr;
    QPushButton* btnStop = nullptr;
};

} // namespace arbrix
