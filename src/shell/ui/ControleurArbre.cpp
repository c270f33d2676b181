#include "shell/ui/ControleurArbre.h"

#include "groupops/Appartenances.h"
#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"
#include "menus/ui/PressePapiers.h"
#include "shell/ui/ZoneDescription.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"
#include "tree/ui/ModeleArbre.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

bool estCopie(const QKeyEvent* touche) {
    return touche->key() == Qt::Key_C && touche->modifiers().testFlag(Qt::ControlModifier);
}

} // namespace

ControleurArbre::ControleurArbre(QWidget* centre, const Liens& liens)
    : QObject(liens.fenetre)
    , m_liens(liens)
    , m_arbre(liens.arbre) {
    tvwGroupes = new QTreeView(centre);
    tvwGroupes->setObjectName(u"tvwGroupes"_s);
    m_modele = new ModeleArbre(m_arbre, this);
    tvwGroupes->setModel(m_modele);
    tvwGroupes->setHeaderHidden(true);
    // Every row has the height of one line: the view then lays out 200,000 rows without
    // asking each of them for its size.
    tvwGroupes->setUniformRowHeights(true);
    tvwGroupes->setIconSize(QSize(16, 16));
    tvwGroupes->setSelectionMode(QAbstractItemView::SingleSelection);
    tvwGroupes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwGroupes->setExpandsOnDoubleClick(true);
    tvwGroupes->setAnimated(false);
    tvwGroupes->setDragEnabled(false); // drags start from our own mouse handling
    tvwGroupes->setAcceptDrops(true);
    tvwGroupes->setDropIndicatorShown(true);
    tvwGroupes->setTextElideMode(Qt::ElideNone);
    tvwGroupes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvwGroupes->header()->setStretchLastSection(false);
    tvwGroupes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    tmrExpand = new QTimer(this);
    tmrExpand->setObjectName(u"tmrExpand"_s);
    tmrExpand->setInterval(1000);
    tmrExpand->setSingleShot(false);
    tmrDescription = new QTimer(this);
    tmrDescription->setSingleShot(true);
    tmrDescription->setInterval(150);

    tvwGroupes->installEventFilter(this);
    m_zoneVue = tvwGroupes->viewport();
    m_zoneVue->installEventFilter(this);
    relieVue();
}

void ControleurArbre::DefinitSession(SessionAD& session, OperationsGroupes& operations) {
    m_session = &session;
    m_operations = &operations;
}

void ControleurArbre::NommeControlesSansTitre() {
    tvwGroupes->setAccessibleName(Traduction(u"ACC_ARBRE"));
    tvwGroupes->setAccessibleDescription(Traduction(u"ACC_ARBRE_DESCRIPTION"));
}

void ControleurArbre::relieVue() {
    // The view follows what the core tree asks for; the core follows what the user does.
    connect(m_modele, &ModeleArbre::expansionDemandee, this, [this](const QModelIndex& index, bool deplie) {
        m_synchroVue = true;
        tvwGroupes->setExpanded(index, deplie);
        m_synchroVue = false;
    });
    connect(m_modele, &ModeleArbre::visibiliteDemandee, this,
            [this](const QModelIndex& index) { tvwGroupes->scrollTo(index); });
    connect(m_modele, &ModeleArbre::selectionDemandee, this, [this](const QModelIndex& index) {
        m_synchroVue = true;
        if (index.isValid())
            tvwGroupes->setCurrentIndex(index);
        else
            tvwGroupes->clearSelection();
        m_synchroVue = false;
        // A removal, a creation, a find or a drop selects for the user: the labels follow.
        if (!m_liens.enConstruction())
            tmrDescription->start();
    });
    connect(tvwGroupes, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (!m_synchroVue)
            m_arbre.Deplie(m_modele->noeud(index), true);
    });
    connect(tvwGroupes, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!m_synchroVue)
            m_arbre.Deplie(m_modele->noeud(index), false);
    });
    connect(tvwGroupes->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& courant) {
                if (!m_synchroVue && courant.isValid()) {
                    m_arbre.Selectionne(m_modele->noeud(courant));
                    // The arrow keys move the selection too: the labels follow once it rests.
                    tmrDescription->start();
                }
            });
    connect(tmrDescription, &QTimer::timeout, this, [this] {
        // A build describes its selection once it ends.
        if (!m_liens.enConstruction())
            DecritSelection();
    });
    // After a bulk build the view starts collapsed: show the expansions the build made.
    connect(m_modele, &QAbstractItemModel::modelReset, this, [this] {
        m_noeudGlisse = nullptr;
        m_noeudSurvole = nullptr;
        m_synchroVue = true;
        m_arbre.ParcoursPrefixe(nullptr, [this](Noeud* n) {
            if (n->Expanded())
                tvwGroupes->setExpanded(m_modele->indexDe(n), true);
            return true;
        });
        if (Noeud* selection = m_arbre.SelectedItem())
            tvwGroupes->setCurrentIndex(m_modele->indexDe(selection));
        m_synchroVue = false;
    });
    // A build's first node, its root, detaches the view from the tree until the build ends:
    // following tens of thousands of inserts one by one costs the view more than the build.
    // The view then shows the whole tree at once, expanded and selected as above.
    connect(&m_arbre, &Arbre::nodeInserted, this, [this] {
        if (m_liens.enConstruction() && m_liens.interaction.TraitementEnCoursAffiche())
            m_arbre.setNotificationsSuspended(true);
    });
    connect(&m_arbre, &Arbre::emptied, &m_liens.description, &ZoneDescription::Efface);
    connect(m_modele, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] {
        m_noeudGlisse = nullptr;
        m_noeudSurvole = nullptr;
    });
    connect(tmrExpand, &QTimer::timeout, this, &ControleurArbre::tmrExpand_Timer);
    connect(m_modele, &ModeleArbre::renommageDemande, this, &ControleurArbre::termineRenommage);
}

bool ControleurArbre::eventFilter(QObject* objet, QEvent* event) {
    if (objet == m_zoneVue)
        return zoneVue_Evenement(event);
    if (objet == tvwGroupes)
        return vue_Evenement(event);
    return false;
}

// Keys and the keyboard's context menu, on the view itself.
bool ControleurArbre::vue_Evenement(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* touche = static_cast<QKeyEvent*>(event);
        // The rename key acts at key release, as the user lets go; the copies at the press,
        // so that letting go of Ctrl first still copies (the view would copy its raw label).
        if (estCopie(touche)) {
            CopieSelection(touche->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (touche->key() == Qt::Key_Delete && touche->modifiers() == Qt::NoModifier) {
            SupprimeSelection();
            return true;
        }
        if ((touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) &&
            touche->modifiers() == Qt::NoModifier)
            return AfficheProprietes(noeudSelectionne());
        return touche->key() == Qt::Key_F2;
    }
    if (type == QEvent::ShortcutOverride && estCopie(static_cast<QKeyEvent*>(event))) {
        // Taken by the tree itself: the Edition menu's shortcuts serve the other controls.
        event->accept();
        return true;
    }
    if (type == QEvent::KeyRelease) {
        tvwGroupes_KeyUp(static_cast<QKeyEvent*>(event));
    } else if (type == QEvent::ContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        if (Noeud* noeud = noeudSelectionne()) {
            // From the keyboard the menu opens at the node, not where the mouse happens to be.
            const QRect rect = tvwGroupes->visualRect(m_modele->indexDe(noeud));
            AfficheMenuNoeud(noeud, tvwGroupes->viewport()->mapToGlobal(rect.bottomLeft()));
        }
        return true;
    }
    return false;
}

// The mouse and the drags, on the view's viewport.
bool ControleurArbre::zoneVue_Evenement(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        tvwGroupes_MouseDown(static_cast<QMouseEvent*>(event));
        // A right click has been fully handled (selection and menu).
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    }
    if (type == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // On an account; a group's double click opens or closes it, as the view does.
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        return AfficheProprietes(m_modele->noeud(tvwGroupes->indexAt(position)));
    }
    if (type == QEvent::MouseMove) {
        // The drag took the button's release: the view, which still sees it held, would select
        // whatever the pointer crosses.
        if (m_apresGlisser && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton)
            return true;
        m_apresGlisser = false;
        tvwGroupes_MouseMove(static_cast<QMouseEvent*>(event));
    } else if (type == QEvent::MouseButtonRelease) {
        m_apresGlisser = false;
    } else if (type == QEvent::DragEnter || type == QEvent::DragMove) {
        tvwGroupes_DragOver(static_cast<QDragMoveEvent*>(event));
        return true;
    } else if (type == QEvent::Drop) {
        tmrExpand->stop();
        m_modele->MarqueCibleDepot(nullptr);
        tvwGroupes_DragDrop(static_cast<QDropEvent*>(event));
        return true;
    } else if (type == QEvent::DragLeave) {
        tmrExpand->stop();
        m_modele->MarqueCibleDepot(nullptr);
    }
    return false;
}

Noeud* ControleurArbre::noeudSelectionne() const {
    return m_arbre.SelectedItem();
}

void ControleurArbre::tvwGroupes_KeyUp(QKeyEvent* event) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    if (event->key() == Qt::Key_F2 && noeud->LettreType() == u'G')
        prepareRenommage(noeud);
}

void ControleurArbre::CopieSelection(bool nomSeul) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    const int identifiant = nomSeul ? IdMenu::CopierNom : IdMenu::CopierNomCompte;
    if (const std::optional<QString> texte =
            TexteCopieDuNoeud(identifiant, {noeud->Text(), noeud->Key(), noeud->Tag()}))
        CopieTexte(*texte);
}

void ControleurArbre::DecritSelection() {
    tmrDescription->stop();
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        m_liens.description.Efface();
    else if (noeud->Key() != m_liens.description.CleDecrite())
        tvwGroupes_NodeClick(noeud, false);
}

void ControleurArbre::tvwGroupes_NodeClick(Noeud* noeud, bool boutonDroit) {
    if (!noeud)
        return;
    const DescriptionEtGestionnaire lu =
        m_session ? LitDescriptionEtGestionnaire(*m_session, noeud->Tag()) : DescriptionEtGestionnaire{};
    m_liens.description.Affiche(noeud->Key(), lu.description, lu.gestionnaire);
    if (boutonDroit)
        AfficheMenuNoeud(noeud);
}

} // namespace arbrix
