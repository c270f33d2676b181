// arbrix-cli: see cli/Cli.h and "arbrix-cli --help".

#include "cli/Cli.h"
#include "settings/secretservice/TrousseauSecretService.h"
#include "shell/PagesLarges.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    arbrix::RelanceAvecPagesLarges(argv);
    QCoreApplication application(argc, argv);
    arbrix::InstalleTrousseau(std::make_unique<arbrix::TrousseauSecretService>());
    QTextStream sortie(stdout);
    QTextStream erreurs(stderr);
    sortie.setEncoding(QStringConverter::Utf8);
    erreurs.setEncoding(QStringConverter::Utf8);
    return arbrix::runCli(QCoreApplication::arguments().mid(1), sortie, erreurs);
}
