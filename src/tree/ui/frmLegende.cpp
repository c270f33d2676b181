#include "tree/ui/frmLegende.h"

#include "i18n/Traductions.h"
#include "tree/Legende.h"
#include "tree/ui/Icones.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

frmLegende::frmLegende(QWidget* parent)
    : QDialog(parent) {
    setObjectName(u"frmLegende"_s);
    setWindowTitle(Traduction(u"TXT_LEGENDE_ICONES"));
    auto* liste = new QListWidget(this);
    liste->setObjectName(u"lstLegende"_s);
    liste->setAccessibleName(Traduction(u"ACC_LEGENDE"));
    liste->setSelectionMode(QAbstractItemView::NoSelection);
    liste->setFocusPolicy(Qt::NoFocus);
    for (const QString& cle : ClesLegende()) {
        auto* ligne = new QListWidgetItem(IconeArbre(cle), TexteImage(cle), liste);
        ligne->setData(Qt::UserRole, cle);
    }
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(liste);
    disposition->addWidget(boutons);
    // Wide enough for the longest text: a translation may be longer than the French.
    const int largeur = liste->sizeHintForColumn(0) + 2 * liste->frameWidth() + 40;
    resize(std::max(420, largeur), liste->sizeHintForRow(0) * (liste->count() + 1) + 60);
}

void frmLegende::Affiche(QWidget* parent) {
    frmLegende legende(parent);
    legende.exec();
}

} // namespace arbrix
