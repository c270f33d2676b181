// The reference figures beside bench-analyse's: the rows of one root read with the fewest
// searches, straight on libldap.
//
//   bench-reference --uri U --user LOGIN --password-file FILE (--group DN | --ou DN)
//                   [--in-flight N] [--filter F]
//
// The password comes from a file so that it never shows on a command line; the CA comes from
// LDAPTLS_CACERT.

#include "ReferenceLdap.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <cstdio>

using namespace arbrix::bench;
using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QHash<QString, QString> options{{QStringLiteral("--in-flight"), QStringLiteral("8")}};
    options.insert(QStringLiteral("--filter"),
                   QStringLiteral("(|(&(objectCategory=person)(objectClass=user))(objectCategory=computer)"
                                  "(objectCategory=msDS-GroupManagedServiceAccount)"
                                  "(objectCategory=msDS-ManagedServiceAccount))"));
    const QStringList connues = {u"--uri"_s, u"--user"_s,      u"--password-file"_s, u"--group"_s,
                                 u"--ou"_s,  u"--in-flight"_s, u"--filter"_s};
    bool valide = arguments.size() % 2 == 0;
    for (qsizetype i = 0; valide && i < arguments.size(); i += 2) {
        valide = connues.contains(arguments[i]);
        options.insert(arguments[i], arguments.value(i + 1));
    }
    const bool groupe = options.contains(u"--group"_s);
    const int enVol = options.value(u"--in-flight"_s).toInt();
    if (!valide || groupe == options.contains(u"--ou"_s) || !options.contains(u"--uri"_s) ||
        !options.contains(u"--user"_s) || !options.contains(u"--password-file"_s) || enVol < 1) {
        std::fputs("usage: bench-reference --uri U --user LOGIN --password-file FILE (--group DN | --ou DN) "
                   "[--in-flight N] [--filter F]\n",
                   stderr);
        return 2;
    }
    QFile fichier(options.value(u"--password-file"_s));
    if (!fichier.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench-reference: %s: %s\n", qPrintable(fichier.fileName()),
                     qPrintable(fichier.errorString()));
        return 1;
    }
    // The file's final line break does not belong to the password.
    QByteArray motDePasse = fichier.readAll();
    while (motDePasse.endsWith('\n') || motDePasse.endsWith('\r'))
        motDePasse.chop(1);
    const ConnexionReference connexion{options.value(u"--uri"_s), options.value(u"--user"_s),
                                       QString::fromUtf8(motDePasse)};

    const QStringList attributs = {u"sAMAccountName"_s,    u"displayName"_s,        u"cn"_s,
                                   u"distinguishedName"_s, u"userAccountControl"_s, u"objectClass"_s,
                                   u"objectCategory"_s};
    const QStringList attributsGroupes = {u"name"_s, u"distinguishedName"_s, u"memberOf"_s, u"groupType"_s,
                                          u"objectSid"_s};
    const QString filtre = options.value(u"--filter"_s);
    const MesureReference m =
        groupe ? LitRacineGroupe(connexion, options.value(u"--group"_s), filtre, attributs, enVol)
               : LitRacineOU(connexion, options.value(u"--ou"_s), filtre, attributs, attributsGroupes, enVol);
    if (m.lignes < 0)
        return 1;
    std::printf("reference %s: %lld ms, %lld rows, %d searches, %d pages\n", groupe ? "group" : "ou",
                static_cast<long long>(m.ms), static_cast<long long>(m.lignes), m.recherches, m.pages);
    return 0;
}
