// The tree of the main window: clicks, right clicks, keys, drag start and the expand timer, the
// description area, the context menus with their commands, and the copy commands.

#include "directory/Dn.h"
#include "groupops/Appartenances.h"
#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"
#include "netsend/ui/EnvoiDepuisArbre.h"
#include "shell/Commandes.h"
#include "shell/ui/BoiteRecherche.h"
#include "shell/ui/Dialogues.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Analyse.h"
#include "tree/ui/Icones.h"
#include "tree/ui/ModeleArbre.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDrag>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

// A drag starts when the button has been held this long.
constexpr qint64 delaiGlisser = 100;

bool estCompte(QChar lettre) {
    return lettre == u'U' || lettre == u'C' || lettre == u'S';
}

bool estCopie(const QKeyEvent* touche) {
    return touche->key() == Qt::Key_C && touche->modifiers().testFlag(Qt::ControlModifier);
}

} // namespace

void frmPrincipal::relieSignauxArbre() {
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
    tmrDescription->setSingleShot(true);
    tmrDescription->setInterval(150);
    connect(tmrDescription, &QTimer::timeout, this, [this] {
        Noeud* noeud = noeudSelectionne();
        if (noeud && noeud->Key() != m_cleDecrite)
            tvwGroupes_NodeClick(noeud, false);
    });
    // After a bulk build the view starts collapsed: show the expansions the build made.
    connect(m_modele, &QAbstractItemModel::modelReset, this, [this] {
        m_noeudGlisse = nullptr;
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
        if (m_analyseEnCours && TraitementEnCoursAffiche())
            m_arbre.setNotificationsSuspended(true);
    });
    connect(&m_arbre, &Arbre::emptied, this, &frmPrincipal::effaceDescription);
    connect(m_modele, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { m_noeudGlisse = nullptr; });
    connect(tmrExpand, &QTimer::timeout, this, &frmPrincipal::tmrExpand_Timer);
    connect(m_modele, &ModeleArbre::renommageDemande, this, &frmPrincipal::TermineRenommage);
}

bool frmPrincipal::eventFilter(QObject* objet, QEvent* event) {
    const QEvent::Type type = event->type();
    if (objet == cboRecherche->lineEdit() || objet == cboRecherche) {
        if (type == QEvent::KeyPress)
            return cboRecherche_KeyDown(static_cast<QKeyEvent*>(event));
        if (type == QEvent::KeyRelease)
            return cboRecherche_KeyUp(static_cast<QKeyEvent*>(event));
        if (type == QEvent::FocusOut)
            lstCompletion->hide();
    } else if (objet == cboRecherche->view() && type == QEvent::KeyPress) {
        auto* touche = static_cast<QKeyEvent*>(event);
        if (touche->key() == Qt::Key_Escape) {
            cboRecherche->hidePopup();
            cboRecherche->setEditText(QString());
            return true;
        }
        if (touche->key() == Qt::Key_Delete && touche->modifiers().testFlag(Qt::ShiftModifier)) {
            supprimeMemoSelectionne();
            return true;
        }
    } else if (objet == lstCompletion->viewport()) {
        if (type == QEvent::MouseMove)
            lstCompletion_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (type == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, &frmPrincipal::lstCompletion_Click);
    } else if (objet == btnChercherPlus && type == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, &frmPrincipal::btnChercherPlus_MouseDown);
        return true;
    } else if (objet == btnChercherPlus && type == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(event)->key();
        if (touche == Qt::Key_Space || touche == Qt::Key_Down) {
            btnChercherPlus_MouseDown();
            return true;
        }
    } else if (objet == tvwGroupes->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            tvwGroupes_MouseDown(static_cast<QMouseEvent*>(event));
            // A right click has been fully handled (selection and menu).
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        }
        if (type == QEvent::MouseMove)
            tvwGroupes_MouseMove(static_cast<QMouseEvent*>(event));
        else if (type == QEvent::DragEnter || type == QEvent::DragMove) {
            auto* survol = static_cast<QDragMoveEvent*>(event);
            if (type == QEvent::DragMove)
                tvwGroupes_DragOver(survol);
            // Entering, any node of ours is welcome; over a node, only a drop on a group.
            const auto [membre, cible] = depotPossible(survol);
            if (membre && (cible || type == QEvent::DragEnter))
                survol->acceptProposedAction();
            else
                survol->ignore();
            return true;
        } else if (type == QEvent::Drop) {
            tmrExpand->stop();
            tvwGroupes_DragDrop(static_cast<QDropEvent*>(event));
            return true;
        } else if (type == QEvent::DragLeave)
            tmrExpand->stop();
    } else if (objet == tvwGroupes) {
        if (type == QEvent::KeyPress) {
            auto* touche = static_cast<QKeyEvent*>(event);
            // The rename key acts at key release, as the user lets go; the copies at the press,
            // so that letting go of Ctrl first still copies (the view would copy its raw label).
            if (estCopie(touche)) {
                CopieSelection(touche->modifiers().testFlag(Qt::ShiftModifier));
                return true;
            }
            if (touche->key() == Qt::Key_F2)
                return true;
        } else if (type == QEvent::ShortcutOverride && estCopie(static_cast<QKeyEvent*>(event))) {
            // Taken by the tree itself: the Edition menu's shortcuts serve the other controls.
            event->accept();
            return true;
        } else if (type == QEvent::KeyRelease) {
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
    } else if (objet == lblGerePar && type == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && !m_gestionnaire.isEmpty())
            AfficheMenuGerePar();
    }
    return QMainWindow::eventFilter(objet, event);
}

Noeud* frmPrincipal::noeudSelectionne() const {
    return m_arbre.SelectedItem();
}

// --- Mouse and keys

void frmPrincipal::tvwGroupes_MouseDown(QMouseEvent* event) {
    Noeud* noeud = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (!noeud || noeud->LettreType() == u'O')
        m_noeudGlisse = nullptr; // O.U.s are never dragged
    if (!noeud)
        return;
    m_glisserEnCours = false;
    m_arbre.Selectionne(noeud);
    if (noeud->LettreType() != u'O')
        m_noeudGlisse = noeud;
    tvwGroupes_NodeClick(noeud, event->button() == Qt::RightButton);
    m_instantAppui = QDateTime::currentMSecsSinceEpoch();
}

void frmPrincipal::tvwGroupes_MouseMove(QMouseEvent* event) {
    if (event->buttons() != Qt::LeftButton || m_glisserEnCours || !m_noeudGlisse)
        return;
    if (QDateTime::currentMSecsSinceEpoch() - m_instantAppui <= delaiGlisser)
        return;
    commenceGlisser();
}

void frmPrincipal::commenceGlisser() {
    m_glisserEnCours = true;
    auto* drag = new QDrag(tvwGroupes);
    auto* donnees = new QMimeData;
    donnees->setData(u"application/x-arbrix-noeud"_s, m_noeudGlisse->Key().toUtf8());
    donnees->setData(u"application/x-arbrix-fenetre"_s, IdentiteFenetre(this));
    donnees->setText(m_noeudGlisse->Tag().mid(1));
    drag->setMimeData(donnees);
    // Move shows the node's own image, copy (Ctrl held) its "_cop" variant.
    const QString image = m_noeudGlisse->Image();
    const QString base = image.section(u'_', 0, image.startsWith(u"grp_") ? 1 : 0);
    drag->setPixmap(IconeArbre(image).pixmap(16, 16));
    drag->setDragCursor(IconeArbre(base + u"_cop"_s).pixmap(16, 16), Qt::CopyAction);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    m_glisserEnCours = false;
    tmrExpand->stop();
}

void frmPrincipal::tvwGroupes_DragOver(QDragMoveEvent* event) {
    // Hovering over a collapsed group arms the expand timer; the drop itself comes later.
    Noeud* cible = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (cible != m_noeudSurvole) {
        m_noeudSurvole = cible;
        tmrExpand->stop();
        if (cible && cible->LettreType() == u'G' && !cible->Expanded() && cible->ChildCount() > 0)
            tmrExpand->start();
    }
}

void frmPrincipal::tmrExpand_Timer() {
    tmrExpand->stop();
    if (m_noeudSurvole && m_arbre.NoeudExiste(m_noeudSurvole->Key()))
        m_arbre.Deplie(m_noeudSurvole, true);
}

void frmPrincipal::tvwGroupes_KeyUp(QKeyEvent* event) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    if (event->key() == Qt::Key_F2 && noeud->LettreType() == u'G')
        PrepareRenommage(noeud);
}

void frmPrincipal::CopieSelection(bool nomSeul) {
    if (Noeud* noeud = noeudSelectionne())
        CopieNom(nomSeul ? TexteCtrlMajC(noeud->Text()) : noeud->Text());
}

// --- Click and description

void frmPrincipal::tvwGroupes_NodeClick(Noeud* noeud, bool boutonDroit) {
    if (!noeud)
        return;
    const DescriptionEtGestionnaire lu =
        m_session ? LitDescriptionEtGestionnaire(*m_session, noeud->Tag()) : DescriptionEtGestionnaire{};
    AfficheDescription(lu.description, lu.gestionnaire);
    m_cleDecrite = noeud->Key();
    if (boutonDroit)
        AfficheMenuNoeud(noeud);
}

void frmPrincipal::cliqueNoeud(Noeud* noeud) {
    tvwGroupes_NodeClick(noeud, false);
}

void frmPrincipal::AfficheDescription(const QString& description, const QString& gestionnaire) {
    m_gestionnaire = gestionnaire;
    lblDescription->setText(description);
    lblDescription->setToolTip(description);
    const std::optional<Gestionnaire> lu = Gestionnaire::Depuis(gestionnaire);
    lblGerePar->setText(lu ? lu->TexteAffiche() : QString());
    DisposeZoneDescription();
}

void frmPrincipal::effaceDescription() {
    AfficheDescription(QString(), QString());
    m_cleDecrite.clear();
}

// --- Context menus

void frmPrincipal::AfficheMenuNoeud(Noeud* noeud, std::optional<QPoint> position) {
    ContexteNoeud contexte;
    contexte.tag = noeud->Tag();
    contexte.tagParent = noeud->Parent() ? noeud->Parent()->Tag() : QString();
    contexte.estRacine = noeud->Parent() == nullptr;
    contexte.outilCompteDisponible = !m_etat.CheminOutilCompte.isEmpty();
    contexte.operations = Operations();
    const std::optional<clsPopupMenu> menu = MenuDuNoeud(contexte);
    if (!menu)
        return;
    const QString cle = noeud->Key();
    const int choix = IdentifiantRetenu(
        noeud->LettreType(), position ? menu->TrackPopup(position->x(), position->y()) : menu->TrackPopup());
    // The node may have gone while the menu was open.
    Noeud* encore = m_arbre.Node(cle);
    if (choix != IdMenu::Annuler && encore)
        ExecuteCommandeNoeud(encore, choix);
}

void frmPrincipal::ExecuteCommandeNoeud(Noeud* noeud, int identifiant) {
    if (const std::optional<QString> texte =
            TexteCopieDuNoeud(identifiant, {noeud->Text(), noeud->Key(), noeud->Tag()})) {
        // Copy name items cut at the count; the account and DN items copy as they are.
        if (identifiant == IdMenu::CopierCompte || identifiant == IdMenu::CopierDistinguishedName)
            CopieTexte(*texte);
        else
            CopieNom(*texte);
        return;
    }
    switch (identifiant) {
    case IdMenu::OuvrirAPartirDeCePoint:
        OuvreAPartirDuNoeud(false);
        break;
    case IdMenu::OuvrirAPartirDeCePointNouvelleInstance:
        OuvreAPartirDuNoeud(true);
        break;
    case IdMenu::OuvrirOUParente:
        OuvreOUParente(false);
        break;
    case IdMenu::OuvrirOUParenteNouvelleInstance:
        OuvreOUParente(true);
        break;
    case IdMenu::GroupeMembreDe:
        AfficheAppartenances(this, noeud);
        break;
    case IdMenu::Exporter:
        Exporte(noeud);
        break;
    case IdMenu::InfosCompte:
        if (estCompte(noeud->LettreType()))
            LanceOutilCompte(CompteDeLaCle(noeud->Key()));
        break;
    case IdMenu::MessageNetSend:
        if (estCompte(noeud->LettreType()))
            EnvoieMessageCompte({this, *this, session(), parametres()}, noeud);
        else
            EnvoieMessageMembres({this, *this, session(), parametres()}, noeud);
        break;
    default:
        ExecuteOperationGroupe(noeud, identifiant);
        break;
    }
}

void frmPrincipal::AfficheMenuGerePar() {
    const clsPopupMenu menu = MenuGerePar(!m_etat.CheminOutilCompte.isEmpty());
    const int choix = IdentifiantRetenuGerePar(menu.TrackPopup());
    if (choix != IdMenu::Annuler)
        ExecuteCommandeGerePar(choix);
}

void frmPrincipal::ExecuteCommandeGerePar(int identifiant) {
    const std::optional<Gestionnaire> gestionnaire = Gestionnaire::Depuis(m_gestionnaire);
    if (!gestionnaire)
        return;
    switch (identifiant) {
    case IdMenu::InfosCompte:
        LanceOutilCompte(gestionnaire->compte);
        break;
    case IdMenu::CopierNomCompte:
        CopieNom(gestionnaire->TexteAffiche());
        break;
    case IdMenu::CopierNom:
        CopieNom(NomSansCompte(gestionnaire->TexteAffiche()));
        break;
    case IdMenu::CopierCompte:
        CopieTexte(gestionnaire->compte);
        break;
    case IdMenu::CopierDistinguishedName:
        CopieTexte(gestionnaire->dn);
        break;
    default:
        break;
    }
}

// --- Opening elsewhere

void frmPrincipal::OuvreAPartirDuNoeud(bool nouvelleInstance) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    const QString dn = DnDuTag(noeud->Tag());
    if (nouvelleInstance) {
        LanceCommande(CommandeNouvelleInstance(dn));
        return;
    }
    ChangeTypeRecherche(noeud->LettreType() == u'O' ? 0 : 1);
    LanceAnalyse(m_etat.Config.AnalyseParDefaut, dn);
}

void frmPrincipal::OuvreOUParente(bool nouvelleInstance) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    // The parent is found by parsing the DN, so an escaped comma in the node's own name
    // ("CN=Dupont\, Jean,OU=Sales,...") does not cut it in the wrong place.
    const QString parent = DnParent(DnDuTag(noeud->Tag()));
    if (!parent.startsWith(u"OU"_s)) {
        Message(Traduction(u"MSG_ERREUR_PREMIER_ELEMENT"), IconeMessage::Exclamation);
        return;
    }
    if (nouvelleInstance) {
        LanceCommande(CommandeNouvelleInstance(parent));
        return;
    }
    ChangeTypeRecherche(0);
    LanceAnalyse(m_etat.Config.AnalyseParDefaut, parent);
}

void frmPrincipal::LanceOutilCompte(const QString& argument) {
    if (m_etat.CheminOutilCompte.isEmpty())
        return;
    LanceCommande(CommandeOutilCompte(m_etat.CheminOutilCompte, argument));
}

// --- Clipboard

void frmPrincipal::CopieNom(const QString& texte) {
    CopieTexte(TexteSansCompteur(texte));
}

void frmPrincipal::CopieTexte(const QString& texte) {
    QClipboard* pressePapiers = QGuiApplication::clipboard();
    pressePapiers->clear();
    pressePapiers->setText(texte);
}

} // namespace arbrix
