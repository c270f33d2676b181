#include "netsend/Doubles.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

namespace arbrix {
using namespace Qt::StringLiterals;
namespace {

using test::AnnuaireScripte;
using test::Comptes;
using test::TransportScripte;

QStringList Noms(const QList<Destinataire>& destinataires) {
    QStringList noms;
    for (const Destinataire& d : destinataires)
        noms << d.Nom();
    return noms;
}

TEST(Destinataires, UsersUnderTheNodeEachOnceComputersCountedNoServiceAccountsOrGroups) {
    Arbre arbre;
    Noeud* racine = arbre.Ajoute(nullptr, u"\\Tous"_s, u"Tous"_s, u"GCN=Tous,DC=x"_s);
    Noeud* a = arbre.Ajoute(racine, u"\\Tous\\A"_s, u"A"_s, u"GCN=A,DC=x"_s);
    arbre.Ajoute(a, u"\\Tous\\A\\jdupont"_s, u"Jean"_s, u"UCN=Jean,DC=x"_s);
    arbre.Ajoute(a, u"\\Tous\\A\\PC01$"_s, u"PC01"_s, u"CCN=PC01,DC=x"_s);
    arbre.Ajoute(racine, u"\\Tous\\pc01$"_s, u"PC01"_s, u"CCN=PC01,DC=x"_s);
    Noeud* b = arbre.Ajoute(racine, u"\\Tous\\B"_s, u"B"_s, u"GCN=B,DC=x"_s);
    arbre.Ajoute(b, u"\\Tous\\B\\JDUPONT"_s, u"Jean"_s, u"UCN=Jean,DC=x"_s);
    arbre.Ajoute(b, u"\\Tous\\B\\svc$"_s, u"svc"_s, u"SCN=svc,DC=x"_s);
    arbre.Ajoute(racine, u"\\Tous\\mpetit"_s, u"Marc"_s, u"UCN=Marc,DC=x"_s);

    const DestinatairesMembres tous = DestinatairesSous(*racine);
    EXPECT_EQ(Noms(tous.comptes), (QStringList{u"jdupont"_s, u"mpetit"_s}));
    EXPECT_EQ(tous.ordinateursLaisses, 1); // met twice, counted once
    EXPECT_TRUE(TexteOrdinateursLaisses(0).isEmpty());
    // Only groups and a service account below: nobody to send to.
    arbre.Supprime(arbre.Node(u"\\Tous\\B\\JDUPONT"_s));
    EXPECT_TRUE(DestinatairesSous(*b).comptes.isEmpty());
    EXPECT_EQ(Noms({DestinataireDuNoeud(*arbre.Node(u"\\Tous\\mpetit"_s))}), QStringList{u"mpetit"_s});
}

class SuiviScripte : public SuiviEnvoi {
public:
    void TraiteEvenements() override { ++evenements; }
    void LigneEnCours(const QString& ligne) override { affiche << ligne; }
    void LigneTerminee(const QString& ligne, int numero, int total) override {
        affiche.last() = ligne;
        progression << u"%1/%2"_s.arg(numero).arg(total);
    }
    int evenements = 0;
    QStringList affiche;
    QStringList progression;
};

TEST(EnvoiMessage, OneFailureInThreeIsReportedAndCounted) {
    AnnuaireScripte annuaire;
    for (int i = 1; i <= 3; ++i)
        annuaire.adresses.insert(u"u%1"_s.arg(i), {u"u%1@x.test"_s.arg(i), u"U %1"_s.arg(i), {}});
    TransportScripte transport;
    transport.reponses = {
        {true, {}}, {false, u"msmtp: recipient address u2@x.test not accepted"_s}, {true, {}}};
    SuiviScripte suivi;
    const BilanEnvoi bilan =
        EnvoieMessage(Comptes(3), {u"Bonjour"_s, {}, u"alice"_s}, annuaire, transport, suivi);

    // The lines as the report shows them while the loop runs; their wording and the summary are
    // read end to end in the domain controller test.
    EXPECT_EQ(suivi.affiche, bilan.lignes.mid(0, 3));
    EXPECT_TRUE(suivi.affiche[1].endsWith(u" : échec (msmtp: recipient address u2@x.test not accepted)"_s));
    EXPECT_EQ(suivi.progression, (QStringList{u"1/3"_s, u"2/3"_s, u"3/3"_s}));
    EXPECT_GE(suivi.evenements, 6); // before each recipient and while each command ran
    EXPECT_TRUE(transport.messages[0].contains("\nSubject: Message de alice (Arbrix)\n"));

    // A subject typed replaces the default one, its blanks around trimmed.
    TransportScripte autre;
    EnvoieMessage(Comptes(1), {u"Bonjour"_s, {}, u"alice"_s, u"  Coupure ce soir "_s}, annuaire, autre,
                  suivi);
    EXPECT_TRUE(autre.messages[0].contains("\nSubject: Coupure ce soir\n"));
}

TEST(EnvoiMessage, RecipientsThatCannotBeReachedFailWithTheirReason) {
    AnnuaireScripte annuaire;
    annuaire.adresses.insert(u"u1"_s, {u"u1@x.test"_s, u"Jean\nBcc: x@y.test"_s, {}});
    annuaire.adresses.insert(u"u2"_s, {{}, {}, u"erreur de l'annuaire (50) : refusé"_s});
    TransportScripte transport;
    SuiviScripte suivi;
    const BilanEnvoi bilan = EnvoieMessage(Comptes(2), {u"m"_s, {}, u"a"_s}, annuaire, transport, suivi);
    EXPECT_TRUE(transport.adresses.isEmpty());
    EXPECT_EQ(bilan.lignes.mid(0, 2),
              (QStringList{u"Envoi du message à 'u1' : échec (saut de ligne dans un nom)"_s,
                           u"Envoi du message à 'u2' : échec (erreur de l'annuaire (50) : refusé)"_s}));

    // No mail command: every line says so, and the directory is not even read.
    annuaire.lectures = 0;
    TransportAbsent absent;
    const BilanEnvoi sansTransport = EnvoieMessage(Comptes(2), {u"m"_s, {}, u"a"_s}, annuaire, absent, suivi);
    EXPECT_EQ(sansTransport.lignes[1],
              u"Envoi du message à 'u2' : échec (aucun transport de courrier configuré)"_s);
    EXPECT_EQ(annuaire.lectures, 0);
}

} // namespace
} // namespace arbrix
