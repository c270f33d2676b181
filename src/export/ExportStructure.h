#pragma once

// The exports of a branch for scripts, spreadsheets and access reviews: CSV as RFC 4180 has it,
// one row per member and per place it holds, and one JSON document of the tree. Like the text
// export they read the tree only, and follow its extent and the kinds of members it keeps. The CSV
// header and the kind and state values are fixed ASCII tokens, the same in every language, so
// that a script reads the files of any user.

#include "settings/OptionsExport.h"

#include <QString>

namespace arbrix {

class Noeud;

// The CSV header: the member, its kind and state, the group or O.U. that holds it, and the
// names from the exported node down to that container, separated by " > ".
inline constexpr char EnTeteCsv[] = "member,member_dn,kind,state,group,group_dn,path";

// "ou", "group", "user", "computer", "service", "contact", "foreign" (a foreign security
// principal) or "other", from the type letter.
QString GenreDuNoeud(const Noeud& noeud);
// From the image key: "disabled", "locked", "expired", "loop" (a group met again inside itself,
// whose members are not shown there), or "" for an object in use.
QString EtatDuNoeud(const Noeud& noeud);

// A field as RFC 4180 writes it: quoted, its quotes doubled, only when it holds a comma, a quote,
// CR or LF.
QString ChampCsv(const QString& valeur);

// The header and, for every group and kept leaf under the node, one row per place it appears.
// O.U.s hold rows but have none. Each record ends with CR LF or LF as the options say, the last
// one too. lignesMax > 0 stops after that many lines, header included (the preview).
QString GenereCsv(const Noeud& racine, const OptionsExport& options, int lignesMax = 0);

// The node as the root object, indented, ending with a line feed. Each object has "name", "dn",
// "kind" and "state", in that order; an O.U. or a group also "count", the member count its label
// shows (null when labels show none), and "children", last, so that a node's name reads before
// its members. lignesMax > 0 gives only the document's first lines (the preview).
QString GenereJson(const Noeud& racine, const OptionsExport& options, int lignesMax = 0);

} // namespace arbrix
