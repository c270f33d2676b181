#include "shell/BarreEtat.h"

#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/Analyse.h"

namespace arbrix {

namespace {

// Mode 0 binds with the user's ticket, except on an embedded directory (a file), which has none.
bool parKerberos(const SessionAD& session) {
    return session.AccesAD() == 0 && session.AdresseAnnuaire().contains(u"://");
}

} // namespace

TextesBarreEtat CalculeTextesBarreEtat(const SessionAD* session, qint16 modeAnalyse, qsizetype nombreNoeuds) {
    TextesBarreEtat textes;
    if (session) {
        textes.annuaire = FormateMessage(Traduction(u"TXT_BARRE_ANNUAIRE"), {session->AdresseAnnuaire()});
        textes.identite = FormateMessage(
            Traduction(parKerberos(*session) ? u"TXT_BARRE_IDENTITE_KERBEROS" : u"TXT_BARRE_IDENTITE"),
            {session->UtilisateurAffiche()});
    }
    if (modeAnalyse != Mode::Standard)
        textes.mode = Traduction(CleTexteMode(modeAnalyse));
    if (nombreNoeuds > 0)
        textes.noeuds = FormateMessage(Traduction(u"TXT_BARRE_NOEUDS"), {nombreNoeuds});
    return textes;
}

} // namespace arbrix
