#include "netsend/ui/frmNetsendSaisie.h"

#include "search/ui/Fenetres.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

frmNetsendSaisie::frmNetsendSaisie(QWidget* parent, const QString& sujet, const QString& note)
    : QDialog(parent) {
    setObjectName(u"frmNetsendSaisie"_s);
    setWindowTitle(u"Envoi de message"_s);

    lblSujet = new QLabel(u"O&bjet :"_s, this);
    lblSujet->setObjectName(u"lblSujet"_s);
    txtSujet = new QLineEdit(sujet, this);
    txtSujet->setObjectName(u"txtSujet"_s);
    lblSujet->setBuddy(txtSujet);

    lblSaisissezVotreMessage =
        new QLabel(u"Veuillez saisir le message à envoyer au(x) destinataire(s)..."_s, this);
    lblSaisissezVotreMessage->setObjectName(u"lblSaisissezVotreMessage"_s);
    txtMessage = new QPlainTextEdit(this);
    txtMessage->setObjectName(u"txtMessage"_s);
    txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMessage->setTabChangesFocus(true);
    lblSaisissezVotreMessage->setBuddy(txtMessage);
    lblNote = new QLabel(note, this);
    lblNote->setObjectName(u"lblNote"_s);
    lblNote->setWordWrap(true);
    lblNote->setVisible(!note.isEmpty());
    btnOK = new QPushButton(u"&OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(false); // Enter is a line break in the message
    btnOK->setAutoDefault(false);
    btnAnnuler = new QPushButton(u"A&nnuler"_s, this);
    btnAnnuler->setObjectName(u"btnAnnuler"_s);
    btnAnnuler->setAutoDefault(false);

    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);
    auto* sujetLigne = new QHBoxLayout;
    sujetLigne->addWidget(lblSujet);
    sujetLigne->addWidget(txtSujet, 1);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(sujetLigne);
    disposition->addWidget(lblSaisissezVotreMessage);
    disposition->addWidget(txtMessage, 1);
    disposition->addWidget(lblNote);
    disposition->addLayout(boutons);
    resize(460, 260);

    TraduitFenetre(this);
    AppliquePremierPlanDuParent(this);
    txtMessage_Change();
    connect(txtMessage, &QPlainTextEdit::textChanged, this, &frmNetsendSaisie::txtMessage_Change);
    connect(btnOK, &QPushButton::clicked, this, &frmNetsendSaisie::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject); // Escape too
}

void frmNetsendSaisie::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtMessage->setFocus();
}

// Typing or pasting beyond the limit keeps the first characters.
void frmNetsendSaisie::txtMessage_Change() {
    const QString texte = txtMessage->toPlainText();
    if (texte.size() > LongueurMaximum) {
        const QSignalBlocker bloque(txtMessage);
        txtMessage->setPlainText(texte.left(LongueurMaximum));
        txtMessage->moveCursor(QTextCursor::End);
    }
    btnOK->setEnabled(!txtMessage->toPlainText().isEmpty());
}

void frmNetsendSaisie::btnOK_Click() {
    m_message = txtMessage->toPlainText();
    if (!m_message.isEmpty())
        accept();
}

QString frmNetsendSaisie::Sujet() const {
    return txtSujet->text();
}

frmNetsendSaisie::Saisie frmNetsendSaisie::Saisit(QWidget* parent, const QString& sujet,
                                                  const QString& note) {
    frmNetsendSaisie fenetre(parent, sujet, note);
    fenetre.exec();
    return {fenetre.MessageNetSend(), fenetre.Sujet()};
}

} // namespace arbrix
