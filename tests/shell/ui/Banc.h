#pragma once

// A test bench for the main window: starts it as the program does, on the sample domain, with a
// settings file in a temporary folder; and an automaton that answers the modal windows and
// popup menus that the window opens, recording what they said.

#include "menus/PopupMenu.h"
#include "shell/Demarrage.h"
#include "shell/Programme.h"
#include "shell/ui/BouclePrincipale.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Arbre.h"

#include <QtTest>
#include <QtWidgets>

#include <deque>
#include <functional>
#include <memory>

namespace arbrix::banc {

using namespace Qt::StringLiterals;

// Answers, in order, each modal window or popup menu that opens; a window with no answer left is
// closed (Escape), so that a test never hangs.
class Automate : public QObject {
public:
    using Reponse = std::function<void(QWidget*)>;

    Automate() {
        m_minuterie.setInterval(10);
        connect(&m_minuterie, &QTimer::timeout, this, [this] { regarde(); });
        m_minuterie.start();
    }

    void ajoute(Reponse reponse) { m_reponses.push_back(std::move(reponse)); }
    // Clicks the message box's button of that role (OK by default).
    void accepteMessage(QMessageBox::StandardButton bouton = QMessageBox::Ok) {
        ajoute([bouton](QWidget* w) {
            auto* boite = qobject_cast<QMessageBox*>(w);
            QVERIFY(boite);
            boite->button(bouton)->click();
        });
    }

    QStringList messages; // texts of the message boxes seen
    QStringList titres;
    QList<QWidget*> fenetresVues;

private:
    void regarde() {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        // Marked rather than remembered by address: a new dialog may reuse a freed one's.
        if (!w || !w->isVisible() || w->property("vuParAutomate").toBool())
            return;
        w->setProperty("vuParAutomate", true);
        fenetresVues << w;
        if (auto* boite = qobject_cast<QMessageBox*>(w)) {
            messages << boite->text();
            titres << boite->windowTitle();
        }
        if (m_reponses.empty()) {
            QTest::keyClick(w, Qt::Key_Escape);
            return;
        }
        Reponse reponse = std::move(m_reponses.front());
        m_reponses.pop_front();
        reponse(w);
    }

    QTimer m_minuterie;
    std::deque<Reponse> m_reponses;
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
    bool demarre(const QStringList& arguments = {}) {
        etat = std::make_unique<EtatProgramme>();
        fenetre = std::make_unique<frmPrincipal>(*etat);
        const EtapesDemarrage etapes = EtapesDeLaFenetre(*fenetre);
        EnvironnementDemarrage environnement;
        environnement.dossierProgramme = dossier.path();
        environnement.dossierConfiguration = dossier.path() + u"/config"_s;
        environnement.dossierLangues = QStringLiteral(ARBRIX_SOURCE_DATA_DIR);
        environnement.codeLangue = 12;
        const bool ok = Demarre(arguments, *fenetre, etapes, environnement, *etat);
        if (ok)
            fenetre->FinDemarrage();
        return ok;
    }

    // Closes the window as the user does (the settings are written).
    void ferme() {
        fenetre->close();
        fenetre.reset();
    }

    template <class T> T* controle(const QString& nom) const { return fenetre->findChild<T*>(nom); }

    // The node of the tree whose label starts with that name, anywhere in the tree.
    Noeud* noeud(const QString& debut) const {
        Noeud* trouve = nullptr;
        fenetre->arbre().ParcoursPrefixe(nullptr, [&](Noeud* n) {
            if (n->Text().startsWith(debut))
                trouve = n;
            return trouve == nullptr;
        });
        return trouve;
    }

    QTemporaryDir dossier;
    std::unique_ptr<EtatProgramme> etat;
    std::unique_ptr<frmPrincipal> fenetre;
    Automate automate;
};

// Makes the popup menus of the component answer a chosen item without showing, and records
// the last menu shown.
class MenusScriptes {
public:
    explicit MenusScriptes(int choix = 0)
        : m_choix(choix) {
        clsPopupMenu::DefinitAfficheur([this](const clsPopupMenu& menu, int x, int y) {
            dernier = menu;
            position = QPoint(x, y);
            ++affiches;
            return m_choix;
        });
    }
    ~MenusScriptes() { clsPopupMenu::DefinitAfficheur({}); }
    void choisit(int choix) { m_choix = choix; }

    clsPopupMenu dernier;
    QPoint position; // (-1, -1): at the mouse pointer
    int affiches = 0;

private:
    int m_choix;
};

} // namespace arbrix::banc
