#pragma once

// A message to one member, as the system's mail command reads it on its standard input, and the
// command itself. Nothing here passes through a shell: the command is split into words the way a
// shell would split it, then run with an argument list; a value that could break out of its
// header (a line break) or be read as an option (a leading "-") is refused.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace arbrix {

// The command's words, split as a POSIX shell splits them (blanks, '...', "...", backslashes),
// with no expansion of any kind; nullopt when a quote is left open. "" gives an empty word.
std::optional<QStringList> DecoupeCommande(const QString& commande);

// The command to run, program first: the "MessagerieCommande" setting when it is set, else
// "sendmail -i"; its program looked up on the PATH, then in /usr/sbin. nullopt when the setting
// cannot be split or its program is found nowhere.
std::optional<QStringList> CommandeMessagerie(const QString& reglage);

// An address that can go in a header and as the command's last argument: local@domain in
// printable ASCII, without blanks, double quotes, angle brackets, commas or semicolons, not starting
// with "-".
bool AdresseValide(const QString& adresse);

// A name or subject that cannot end its header line: no line break, no other control character.
bool TexteSurPourEnTete(const QString& texte);

struct Courriel {
    QString expediteur; // the From address; empty: the mail system chooses
    QString destinataire;
    QString nomDestinataire; // shown in To; may be empty
    QString sujet;
    QString corps;
    QDateTime date;
};

// The message, or the catalogue key of the reason why it is refused.
struct MessageCompose {
    QByteArray octets;
    QString cleMotif;
    bool valide() const { return cleMotif.isEmpty(); }
};

// From (when given), To, Subject, Date, Message-ID and a UTF-8 plain-text body (base64, so that
// no line of the message can be read as the end of the input or overflow a line limit).
MessageCompose ComposeCourriel(const Courriel& courriel);

// A header value: plain ASCII as it is, anything else as RFC 2047 encoded words folded onto
// continuation lines.
QByteArray EncodeEnTete(const QString& texte);

} // namespace arbrix
