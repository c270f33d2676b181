#pragma once

// A test bench for the main window: starts it as the program does, on the sample domain, with a
// settings file in a temporary folder; and an automaton that answers the modal windows and
// popup menus that the window opens, recording what they said.

#include "menus/PopupMenu.h"
#include "shell/Demarrage.h"
#include "shell/Programme.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Arbre.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

namespace arbrix::banc {

using namespace Qt::StringLiterals;

// Answers, in order, each modal window or popup menu that opens; a window with no answer left is
// closed (Escape), so that a test never hangs.
class Automate : public QObject {
public:
    using Réponse = std::function<void(QWidget*)>;

    Automate() {
        m_minuterie.setInterval(10);
        connect(&m_minuterie, &QTimer::timeout, this, [this] { regarde(); });
        m_minuterie.start();
    }

    void ajoute(Réponse réponse) { m_réponses.push_back(std::move(réponse)); }
    // Clicks the message box's button of that role (OK by default).
    void accepteMessage(QMessageBox::StandardButton bouton = QMessageBox::Ok) {
        ajoute([bouton](QWidget* w) {
            auto* boîte = qobject_cast<QMessageBox*>(w);
            QVERIFY(boîte);
            boîte->button(bouton)->click();
        });
    }

    QStringList messages;            // texts of the message boxes seen
    QList<QMessageBox::Icon> icônes; // and their icons
    QStringList titres;
    QList<QWidget*> fenêtresVues;

private:
    void regarde() {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        // Marked rather than remembered by address: a new dialog may reuse a freed one's.
        if (!w || !w->isVisible() || w->property("vuParAutomate").toBool())
            return;
        w->setProperty("vuParAutomate", true);
        fenêtresVues << w;
        if (auto* boîte = qobject_cast<QMessageBox*>(w)) {
            messages << boîte->text();
            icônes << boîte->icon();
            titres << boîte->windowTitle();
        }
        if (m_réponses.empty()) {
            QTest::keyClick(w, Qt::Key_Escape);
            return;
        }
        Réponse réponse = std::move(m_réponses.front());
        m_réponses.pop_front();
        réponse(w);
    }

    QTimer m_minuterie;
    std::deque<Réponse> m_réponses;
};

// Starts the main window as the program does, its settings file in a temporary folder.
class Banc {
public:
    explicit Banc(const QString& langue = u"Français"_s, const QString& iniEnPlus = {}) {
        qputenv("ARBRIX_DIRECTORY", ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif");
        QFile ini(cheminIni());
        if (ini.open(QIODevice::WriteOnly)) {
            ini.write(("[Config]\nLangue=" + langue + "\n" + iniEnPlus).toUtf8());
            ini.close();
        }
    }

    QString cheminIni() const { return dossier.path() + u"/Arbrix.ini"_s; }

    // False when the start-up ended the program.
    bool démarre(const QStringList& arguments = {}) {
        état = std::make_unique<ÉtatProgramme>();
        fenêtre = std::make_unique<frmPrincipal>(*état);
        ÉtapesDémarrage étapes;
        étapes.appliqueParamètres = [this](const ÉtatProgramme&) {
            fenêtre->TraduitEtDispose();
            fenêtre->AppliqueOptionsFenêtre();
        };
        étapes.chargeMémos = [this](const QString&) { fenêtre->ChargeMémos(); };
        étapes.afficheFenêtre = [this] { fenêtre->show(); };
        étapes.ouvreSession = [this] { return fenêtre->OuvreSession(); };
        étapes.lanceAnalyse = [this](qint16 mode, const QString& dn) { fenêtre->LanceAnalyse(mode, dn); };
        EnvironnementDémarrage environnement;
        environnement.dossierProgramme = dossier.path();
        environnement.dossierConfiguration = dossier.path() + u"/config"_s;
        environnement.dossierLangues = QStringLiteral(ARBRIX_SOURCE_DATA_DIR);
        environnement.codeLangue = 12;
        const bool démarré = Démarre(arguments, *fenêtre, étapes, environnement, *état);
        if (démarré)
            fenêtre->FinDémarrage();
        return démarré;
    }

    // Closes the window as the user does (the settings are written).
    void ferme() {
        fenêtre->close();
        fenêtre.reset();
    }

    template <class T> T* contrôle(const QString& nom) const { return fenêtre->findChild<T*>(nom); }

    // The node of the tree whose label starts with that name, anywhere in the tree.
    Noeud* noeud(const QString& début) const {
        Noeud* trouvé = nullptr;
        fenêtre->arbre().ParcoursPréfixe(nullptr, [&](Noeud* n) {
            if (n->Text().startsWith(début))
                trouvé = n;
            return trouvé == nullptr;
        });
        return trouvé;
    }

    QTemporaryDir dossier;
    std::unique_ptr<ÉtatProgramme> état;
    std::unique_ptr<frmPrincipal> fenêtre;
    Automate automate;
};

// Makes the popup menus of the component answer a chosen item without showing, and records
// the last menu shown.
class MenusScriptés {
public:
    explicit MenusScriptés(int choix = 0)
        : m_choix(choix) {
        clsPopupMenu::DéfinitAfficheur([this](const clsPopupMenu& menu, int, int) {
            dernier = menu;
            ++affichés;
            return m_choix;
        });
    }
    ~MenusScriptés() { clsPopupMenu::DéfinitAfficheur({}); }
    void choisit(int choix) { m_choix = choix; }

    clsPopupMenu dernier;
    int affichés = 0;

private:
    int m_choix;
};

} // namespace arbrix::banc
