#!/usr/bin/env python3
"""Writes a small domain of hard cases as LDIF, for the tests against a domain controller.

    gen-hostile-domain.py [-o FILE] [--members N]

Under OU=Epreuves: a group of N members (default 5000, more than a controller returns in one
slice of values), a chain of 50 groups each holding the next, a cycle of three groups, and an
O.U., a group and a user whose names hold every character a DN escapes or a filter reserves,
with non-Latin letters. tools/test-dc.sh loads it (ARBRIX_TEST_DC_LDIF).
"""

import argparse
import base64
import sys

BASE = "DC=velmora,DC=test"
ROOT = "OU=Epreuves," + BASE
SECURITY_GLOBAL = "-2147483646"
# Every character a DN escapes or a filter reserves, and letters from three scripts.
HOSTILE = "Spécial ( ) * \\ , + \" # ; < > = ' Ωμέγα Юникод 王芳"


def escape_rdn_value(value):
    out = []
    for i, c in enumerate(value):
        if c in ',+"\\<>;=' or (i == 0 and c in " #") or (i == len(value) - 1 and c == " "):
            out.append("\\" + c)
        else:
            out.append(c)
    return "".join(out)


def line(attribute, value):
    safe = value.isascii() and value.isprintable() and not value.startswith((" ", ":", "<"))
    if safe:
        return f"{attribute}: {value}"
    return f"{attribute}:: {base64.b64encode(value.encode('utf-8')).decode('ascii')}"


def entry(dn, attributes):
    return "\n".join([line("dn", dn)] + [line(a, v) for a, v in attributes]) + "\n"


def ou(name, parent):
    dn = f"OU={escape_rdn_value(name)},{parent}"
    return dn, entry(dn, [("objectClass", "top"), ("objectClass", "organizationalUnit"), ("ou", name)])


def user(name, sam, parent):
    dn = f"CN={escape_rdn_value(name)},{parent}"
    return dn, entry(dn, [("objectClass", c) for c in ("top", "person", "organizationalPerson", "user")] +
                     [("cn", name), ("sAMAccountName", sam), ("displayName", name), ("userAccountControl", "512")])


def group(name, sam, parent, members):
    dn = f"CN={escape_rdn_value(name)},{parent}"
    attributes = [("objectClass", "top"), ("objectClass", "group"), ("cn", name), ("sAMAccountName", sam),
                  ("groupType", SECURITY_GLOBAL)] + [("member", m) for m in members]
    return dn, entry(dn, attributes)


def main(argv):
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--members", type=int, default=5000)
    p.add_argument("-o", "--output")
    args = p.parse_args(argv)

    entries = [entry(BASE, [("objectClass", "top"), ("objectClass", "domain"), ("objectClass", "domainDNS"),
                            ("dc", "velmora"), ("description", "Hard cases for the tests")])]
    root_dn, text = ou("Epreuves", BASE)
    entries.append(text)

    many_dn, text = ou("Masse", root_dn)
    entries.append(text)
    members = []
    for i in range(1, args.members + 1):
        dn, text = user(f"Membre {i:05d}", f"membre{i:05d}", many_dn)
        members.append(dn)
        entries.append(text)
    entries.append(group("Grand groupe", "grand-groupe", root_dn, members)[1])

    chain_dn, text = ou("Chaine", root_dn)
    entries.append(text)
    below = []
    for level in range(50, 0, -1):
        dn, text = group(f"Niveau {level:02d}", f"niveau{level:02d}", chain_dn, below)
        entries.append(text)
        below = [dn]

    cycle = [f"CN=Cycle {c},{root_dn}" for c in "ABC"]
    for i, c in enumerate("ABC"):
        entries.append(group(f"Cycle {c}", f"cycle-{c.lower()}", root_dn, [cycle[(i + 1) % 3]])[1])

    hostile_ou, text = ou(HOSTILE, root_dn)
    entries.append(text)
    hostile_user, text = user(HOSTILE, "hostile-user", hostile_ou)
    entries.append(text)
    entries.append(group(HOSTILE, "hostile-group", root_dn, [hostile_user])[1])

    out = open(args.output, "w", encoding="utf-8") if args.output else sys.stdout
    out.write("version: 1\n\n" + "\n".join(entries))


if __name__ == "__main__":
    main(sys.argv[1:])
