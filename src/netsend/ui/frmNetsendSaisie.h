#pragma once

// The message to send to the members: typed here, at most 500 characters; OK waits for a text.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace arbrix {

class frmNetsendSaisie : public QDialog {
    Q_OBJECT
public:
    static constexpr int LongueurMaximum = 500;

    explicit frmNetsendSaisie(QWidget* parent = nullptr);

    // Shows the window modally; the message typed, empty when cancelled.
    static QString Saisit(QWidget* parent);

    // MessageNetSend: empty until OK is pressed.
    const QString& MessageNetSend() const { return m_message; }

    void btnOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void txtMessage_Change();

    QString m_message;
    QLabel* lblSaisissezVotreMessage = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
