#include "tree/ui/BoiteMessage.h"

#include "text/Version.h"

#include <QMessageBox>
#include <QPushButton>

namespace arbrix {

namespace {

QMessageBox::Icon iconeQt(IconeMessage icone) {
    switch (icone) {
    case IconeMessage::Information:
        return QMessageBox::Information;
    case IconeMessage::Exclamation:
        return QMessageBox::Warning;
    case IconeMessage::Critique:
        return QMessageBox::Critical;
    case IconeMessage::Question:
        return QMessageBox::Question;
    case IconeMessage::Aucune:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

ReponseMessage AfficheMessage(QWidget* parent, const QString& texte, IconeMessage icone,
                              BoutonsMessage boutons, ReponseMessage defaut, const QString& titre,
                              bool auDessus) {
    QMessageBox boite(parent);
    boite.setObjectName(QStringLiteral("boiteMessage"));
    boite.setIcon(iconeQt(icone));
    boite.setWindowTitle(titre.isEmpty() ? TitreApplication() : titre);
    // Catalogue texts break lines with CR LF.
    boite.setText(QString(texte).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    boite.setTextFormat(Qt::PlainText);
    if (auDessus)
        boite.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (boutons == BoutonsMessage::OuiNon) {
        QPushButton* oui = boite.addButton(QMessageBox::Yes);
        QPushButton* non = boite.addButton(QMessageBox::No);
        boite.setDefaultButton(defaut == ReponseMessage::Oui ? oui : non);
        boite.setEscapeButton(defaut == ReponseMessage::Oui ? oui : non);
        boite.exec();
        if (boite.clickedButton() == oui)
            return ReponseMessage::Oui;
        if (boite.clickedButton() == non)
            return ReponseMessage::Non;
        return defaut;
    }
    boite.setStandardButtons(QMessageBox::Ok);
    boite.exec();
    return ReponseMessage::Ok;
}

} // namespace arbrix
