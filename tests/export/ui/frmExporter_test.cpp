#include "../../shell/ui/Banc.h"
#include "shell/FichiersTest.h"

#include "export/Export.h"
#include "export/ExportStructure.h"
#include "export/ui/frmExporter.h"
#include "menus/MenusNoeuds.h"
#include "settings/Ini.h"

#include <unistd.h>

using namespace arbrix;
using namespace arbrix::banc;

namespace {

const QString dnVelmora = u"OU=Velmora,DC=velmora,DC=test"_s;

// The dialog for the tree's root, shown but not run modally, so that a test can press OK and look
// at what follows.
struct Dialogue {
    explicit Dialogue(Banc& banc)
        : noeud(*banc.fenetre->arbre().Racine())
        , fenetre(noeud, banc.etat->CheminIni(), banc.fenetre.get()) {
        fenetre.show();
    }
    template <class T> T* c(const QString& nom) const { return fenetre.findChild<T*>(nom); }
    QString texteComplet() const {
        return GenerateurExport(fenetre.Regles().Options()).GenereExport(noeud, false);
    }

    const Noeud& noeud;
    frmExporter fenetre;
};

// The text as the preview box gives it back: line breaks without CR, no-break spaces as spaces.
QString Visible(QString texte) {
    return texte.remove(u'\r').replace(QChar(0x00A0), u' ');
}

QString Lit(const Banc& banc, const QString& cle) {
    return LitIni(banc.etat->CheminIni(), u"Config"_s, cle, u"<absent>"_s);
}

// A folder nobody may write to: permissions do not stop root, the kernel's own folders do.
QString DossierInterdit(const QTemporaryDir& dossier) {
    if (geteuid() == 0)
        return u"/sys"_s;
    const QString chemin = dossier.filePath(u"lecture-seule"_s);
    QDir().mkpath(chemin);
    QFile::setPermissions(chemin, QFile::ReadOwner | QFile::ExeOwner);
    return chemin;
}

// Answers the save dialog with that path, after noting where it opened.
struct ReponseEnregistrement {
    QString dossier;
    QString nomPropose;
    bool confirmeEcrasement = false;
};

Automate::Reponse Enregistre(const QString& chemin, ReponseEnregistrement& vu) {
    return [chemin, &vu](QWidget* w) {
        auto* dialogue = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialogue);
        vu.dossier = dialogue->directory().absolutePath();
        vu.nomPropose = QFileInfo(dialogue->selectedFiles().value(0)).fileName();
        vu.confirmeEcrasement = !dialogue->testOption(QFileDialog::DontConfirmOverwrite);
        if (chemin.isEmpty()) {
            dialogue->reject();
            return;
        }
        // The dialog reads its first folder in a thread of its own and, once read, selects the
        // name it proposed again: under load that comes after this selection, which is then made
        // again.
        const auto choisi = [&] { return dialogue->selectedFiles().value(0).startsWith(chemin); };
        for (int essai = 0, tenu = 0; essai < 30 && tenu < 2; ++essai) {
            if (!choisi())
                dialogue->selectFile(chemin);
            QTest::qWait(100);
            tenu = choisi() ? tenu + 1 : 0;
        }
        QVERIFY(choisi());
        static_cast<QDialog*>(dialogue)->accept(); // QFileDialog hides it
    };
}

} // namespace

class ExporterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The documents folder of a user of our own, so that the save dialog's start is known.
        qputenv("HOME", m_maison.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_maison.filePath(u".config"_s).toUtf8());
        QDir(m_maison.path()).mkpath(u"Documents"_s);
    }

    // At the default font the dialog fits a 768-pixel-high screen under its title bar, and it
    // opens no taller than the screen it is on leaves room for.
    void fitsALowScreen() {
        Banc banc;
        QVERIFY(banc.demarre({dnVelmora}));
        Dialogue d(banc);
        constexpr int barreDeTitre = 40;
        QVERIFY(d.fenetre.minimumSizeHint().height() <= 768 - barreDeTitre);
        QVERIFY(d.fenetre.sizeHint().height() <= 768 - barreDeTitre);
        QVERIFY(d.fenetre.height() + barreDeTitre <= d.fenetre.screen()->availableGeometry().height());
    }

    // The rules are the core's; the controls and the preview follow them.
    void optionRulesKeepTheControlsAndThePreviewInStep() {
        Banc banc(u"Français"_s, u"ExportFichier=/ailleurs/garde.txt\n"_s);
        QVERIFY(banc.demarre({dnVelmora}));
        Dialogue d(banc);
        auto* colonnes = d.c<QCheckBox>(u"chkModeColonné"_s);
        colonnes->click();
        QCOMPARE(d.c<QLineEdit>(u"txtSéparateur"_s)->text(), u";"_s);
        QVERIFY(!d.c<QLineEdit>(u"txtIndentation"_s)->isEnabled());
        d.c<QCheckBox>(u"chkStructure"_s)->click();
        QVERIFY(!colonnes->isEnabled());
        d.c<QLineEdit>(u"txtSéparateur"_s)->setText(u" | "_s);
        const QString apercu = Visible(d.c<QPlainTextEdit>(u"txtAperçu"_s)->toPlainText());
        QVERIFY(apercu.contains(u" | "_s) && Visible(d.texteComplet()).startsWith(apercu));

        // OK to the clipboard: the whole text, no save dialog, the last file kept.
        const qsizetype fenetres = banc.automate.fenetresVues.size();
        d.fenetre.btnOK_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), d.texteComplet());
        QCOMPARE(banc.automate.fenetresVues.size(), fenetres);
        QCOMPARE(Lit(banc, u"ExportSéparateur"_s), u" | "_s);
        QCOMPARE(Lit(banc, u"ExportFichier"_s), u"/ailleurs/garde.txt"_s);
    }

    void storedOptionsComeBackAndACancelledSaveKeepsTheLastFile() {
        const QString ancien = u"/nulle/part/ancien.txt"_s;
        Banc banc(u"Français"_s, u"ExportEtendue=1\nExportFormat=2\nExportDestination=1\nExportStructure=0\n"
                                 "ExportModeColonné=-1\nExportComptesOrdinateur=0\nExportIndentation=\\t-\n"
                                 "ExportSéparateur=;\nExportFichier="_s +
                                     ancien + u"\n"_s);
        QVERIFY(banc.demarre({dnVelmora}));
        {
            Dialogue d(banc);
            // Column mode without structure cannot be: lost on opening. Escapes show as typed.
            QVERIFY(!d.c<QCheckBox>(u"chkModeColonné"_s)->isChecked());
            QCOMPARE(d.c<QLineEdit>(u"txtIndentation"_s)->text(), u"\\t-"_s);

            d.c<QCheckBox>(u"chkStructure"_s)->click();
            d.c<QRadioButton>(u"optFormat_3"_s)->click();
            d.c<QLineEdit>(u"txtIndentation"_s)->setText(u"\\t\\t"_s);
            ReponseEnregistrement vu;
            banc.automate.ajoute(Enregistre({}, vu));
            d.fenetre.btnOK_Click();
            // The last file's folder is gone: the documents folder, not the program's, and its name.
            QCOMPARE(vu.dossier, m_maison.filePath(u"Documents"_s));
            QCOMPARE(vu.nomPropose, u"ancien.txt"_s);
            QCOMPARE(d.fenetre.result(), int(QDialog::Accepted));
        }
        QCOMPARE(Lit(banc, u"ExportModeColonné"_s), u"0"_s);
        QCOMPARE(Lit(banc, u"ExportSéparateur"_s), u"\\r\\n"_s); // the structure gives line breaks back
        QCOMPARE(Lit(banc, u"ExportIndentation"_s), u"\\t\\t"_s);
        QCOMPARE(Lit(banc, u"ExportFichier"_s), ancien);
    }

    void fileExportWritesUtf8WhereTheSaveDialogWasPointed() {
        QTemporaryDir dossier;
        QDir(dossier.path()).mkpath(u"avant"_s);
        const QString avant = dossier.filePath(u"avant/précédent.txt"_s);
        Banc banc(u"Français"_s, u"ExportDestination=1\nExportFichier="_s + avant + u"\n"_s);
        QVERIFY(banc.demarre({dnVelmora}));
        // A path longer than the 255 characters the old dialog took.
        QString profond = dossier.path();
        while (profond.size() < 300)
            profond += u"/un dossier au nom assez long pour allonger le chemin"_s;
        QVERIFY(QDir().mkpath(profond));

        Dialogue d(banc);
        ReponseEnregistrement vu;
        banc.automate.ajoute(Enregistre(profond + u"/export"_s, vu));
        d.fenetre.btnOK_Click();
        QCOMPARE(vu.dossier, dossier.filePath(u"avant"_s));
        QCOMPARE(vu.nomPropose, u"précédent.txt"_s);
        QVERIFY(vu.confirmeEcrasement);

        const QString chemin = profond + u"/export.txt"_s;
        QCOMPARE(test::LitFichier(chemin), (d.texteComplet() + u"\r\n"_s).toUtf8());
        QCOMPARE(Lit(banc, u"ExportFichier"_s), chemin);
    }

    // CSV greys the text's options; the save dialog offers the last name with the CSV suffix and
    // adds it; the file is the document as it ends, with the line ending chosen.
    void csvWritesACsvFile() {
        QTemporaryDir dossier;
        Banc banc(u"Français"_s,
                  u"ExportDestination=1\nExportFichier="_s + dossier.filePath(u"revue.txt"_s) + u"\n"_s);
        QVERIFY(banc.demarre({dnVelmora}));
        Dialogue d(banc);
        d.c<QRadioButton>(u"optTypeExport_1"_s)->click();
        QVERIFY(!d.c<QCheckBox>(u"chkStructure"_s)->isEnabled());
        QVERIFY(!d.c<QLineEdit>(u"txtSéparateur"_s)->isEnabled());
        d.c<QCheckBox>(u"chkFinLigneLF"_s)->click();
        QVERIFY(d.c<QPlainTextEdit>(u"txtAperçu"_s)->toPlainText().startsWith(u"member,member_dn,kind,"_s));
        ReponseEnregistrement vu;
        banc.automate.ajoute(Enregistre(dossier.filePath(u"acces"_s), vu));
        d.fenetre.btnOK_Click();
        QCOMPARE(vu.nomPropose, u"revue.csv"_s);

        const QByteArray ecrit = test::LitFichier(dossier.filePath(u"acces.csv"_s));
        QCOMPARE(ecrit, GenereCsv(d.noeud, d.fenetre.Regles().Options()).toUtf8());
        QVERIFY(ecrit.count('\n') > 2 && !ecrit.contains('\r'));
        QCOMPARE(Lit(banc, u"ExportType"_s), u"1"_s);
        QCOMPARE(Lit(banc, u"ExportFinDeLigne"_s), u"1"_s);
    }

    void aFolderThatCannotBeWrittenKeepsTheDialogOpenAndWritesNoSetting() {
        QTemporaryDir dossier;
        const QString chemin = DossierInterdit(dossier) + u"/export.txt"_s;
        Banc banc(u"Français"_s, u"ExportDestination=1\n"_s);
        QVERIFY(banc.demarre({dnVelmora}));
        Dialogue d(banc);
        d.c<QRadioButton>(u"optFormat_2"_s)->click();
        ReponseEnregistrement vu;
        banc.automate.ajoute(Enregistre(chemin, vu));
        banc.automate.accepteMessage();
        const qsizetype messages = banc.automate.messages.size(); // the analysis reports its loops
        d.fenetre.btnOK_Click();

        QCOMPARE(banc.automate.messages.size(), messages + 1);
        QVERIFY(banc.automate.messages.last().contains(chemin));
        QVERIFY(d.fenetre.isVisible());
        QVERIFY(!QFileInfo::exists(chemin));
        QCOMPARE(Lit(banc, u"ExportFormat"_s), u"<absent>"_s);
        QCOMPARE(Lit(banc, u"ExportFichier"_s), u"<absent>"_s);
    }

    void contextMenuAndEditionMenuOpenTheDialogForTheSelectedBranch() {
        Banc banc;
        QVERIFY(banc.demarre({dnVelmora}));
        Arbre& arbre = banc.fenetre->arbre();
        QStringList apercus;
        const auto noteEtFerme = [&apercus](QWidget* w) {
            QCOMPARE(w->objectName(), u"frmExporter"_s);
            apercus << Visible(
                w->findChild<QPlainTextEdit*>(u"txtAperçu"_s)->toPlainText().section(u'\n', 0, 0));
            static_cast<QDialog*>(w)->reject();
        };
        MenusScriptes menus(IdMenu::Exporter);
        Noeud* groupe = banc.noeud(u"Chercheurs R&D"_s);
        QVERIFY(groupe);
        arbre.Selectionne(groupe);
        banc.automate.ajoute(noteEtFerme);
        banc.fenetre->controleurArbre().AfficheMenuNoeud(groupe);
        auto* exporter = banc.fenetre->findChild<QAction*>(u"mnuEditionExporter"_s);
        banc.automate.ajoute(noteEtFerme);
        exporter->trigger();
        QCOMPARE(apercus, QStringList(2, Visible(groupe->Text())));

        arbre.Selectionne(nullptr);
        QVERIFY(!exporter->isEnabled());
    }

private:
    QTemporaryDir m_maison;
};

QTEST_MAIN(ExporterTest)
#include "frmExporter_test.moc"
