#pragma once

// The mail to send to the members: its subject and its text, typed here, at most 500 characters;
// OK waits for a text.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace arbrix {

class frmNetsendSaisie : public QDialog {
    Q_OBJECT
public:
    static constexpr int LongueurMaximum = 500;

    // The subject starts as sujet; a note (computers left out, say) shows above the buttons.
    explicit frmNetsendSaisie(QWidget* parent = nullptr, const QString& sujet = {}, const QString& note = {});

    struct Saisie {
        QString message; // empty when cancelled
        QString sujet;
    };
    // Shows the window modally.
    static Saisie Saisit(QWidget* parent, const QString& sujet, const QString& note);

    // MessageNetSend: empty until OK is pressed.
    const QString& MessageNetSend() const { return m_message; }
    QString Sujet() const;

    void btnOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void txtMessage_Change();

    QString m_message;
    QLabel* lblSujet = nullptr;
    QLineEdit* txtSujet = nullptr;
    QLabel* lblSaisissezVotreMessage = nullptr;
    QLabel* lblNote = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
