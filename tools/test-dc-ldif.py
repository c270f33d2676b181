#!/usr/bin/env python3
"""Turns the sample domain LDIF into what a domain controller accepts, in two LDIF files.

    test-dc-ldif.py SOURCE NAMING_CONTEXT ADDS_OUT LINKS_OUT

ADDS_OUT adds every entry without its "member" and "managedBy" values (a domain controller wants
the target of a link to exist first, and the sample holds a loop of groups); LINKS_OUT then adds
those values. The source's naming context (the DN of its first entry) is rewritten to
NAMING_CONTEXT. The entry of the domain itself already exists on the controller: its attributes
become a modify. Groups without a scope bit are refused by domain controllers, so they are left
out, with the links that name them; so are the trusts (a controller creates them through LSA
only, never over LDAP) and the foreign principals of trusted domains. The System and
ForeignSecurityPrincipals containers and the well-known foreign principals (S-1-5-11 and the like)
exist on every controller: they are left out, and the links that name them kept.
"""
import base64
import sys

LINK_ATTRIBUTES = {"member", "managedby"}
NAMING_ATTRIBUTES = {"objectclass", "dc", "ou", "cn", "name", "distinguishedname"}
SCOPE_BITS = 2 | 4 | 8


def read_records(path):
    """Yields each record as a list of (attribute, value) pairs, dn first."""
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    lines = []
    for raw in text.split("\n"):
        raw = raw.rstrip("\r")
        if raw.startswith(" ") and lines:
            lines[-1] += raw[1:]
        else:
            lines.append(raw)
    record = []
    for line in lines + [""]:
        if line.startswith("#"):
            continue
        if not line:
            if record:
                yield record
            record = []
            continue
        name, _, rest = line.partition(":")
        if rest.startswith(":"):
            value = base64.b64decode(rest[1:].strip())
            try:
                value = value.decode("utf-8")
            except UnicodeDecodeError:
                pass  # a binary value (a SID) stays bytes
        else:
            value = rest.lstrip(" ")
        if name.lower() == "version" and not record:
            continue
        record.append((name, value))


def classes_of(record):
    return {v.lower() for n, v in record if n.lower() == "objectclass"}


def held_by_controller(record, context):
    """The entries a domain controller provisions itself."""
    dn = record[0][1].lower()
    if dn in (f"cn=system,{context}".lower(), f"cn=foreignsecurityprincipals,{context}".lower()):
        return True
    return "foreignsecurityprincipal" in classes_of(record) and not dn.startswith("cn=s-1-5-21-")


def refused_by_controller(record):
    if not has_scope(record) or "trusteddomain" in classes_of(record):
        return True
    return "foreignsecurityprincipal" in classes_of(record) and record[0][1].lower().startswith("cn=s-1-5-21-")


def rewrite_suffix(value, old, new):
    if isinstance(value, str) and value.lower().endswith(old.lower()):
        return value[: len(value) - len(old)] + new
    return value


def has_scope(record):
    for name, value in record:
        if name.lower() == "grouptype":
            return (int(value) & SCOPE_BITS) != 0
    return True


def line(name, value):
    if isinstance(value, bytes):
        return f"{name}:: {base64.b64encode(value).decode()}\n"
    printable = all(32 <= ord(c) < 127 for c in value)
    if printable and not value.startswith((" ", ":", "<")) and not value.endswith(" "):
        return f"{name}: {value}\n"
    return f"{name}:: {base64.b64encode(value.encode('utf-8')).decode()}\n"


def main():
    source, context, adds_path, links_path = sys.argv[1:5]
    records = list(read_records(source))
    old_context = records[0][0][1]
    records = [[(n, rewrite_suffix(v, old_context, context)) for n, v in r] for r in records]
    dropped = {r[0][1].lower() for r in records if refused_by_controller(r)}
    if dropped:
        print("left out (no scope bit, trusts): " + "; ".join(sorted(dropped)), file=sys.stderr)
    with open(adds_path, "w", encoding="utf-8") as adds, open(links_path, "w", encoding="utf-8") as links:
        for record in records:
            dn = record[0][1]
            if dn.lower() in dropped or held_by_controller(record, context):
                continue
            attributes = record[1:]
            plain = [(n, v) for n, v in attributes if n.lower() not in LINK_ATTRIBUTES]
            linked = [(n, v) for n, v in attributes
                      if n.lower() in LINK_ATTRIBUTES and v.lower() not in dropped]
            if dn.lower() == context.lower():
                adds.write(line("dn", dn) + "changetype: modify\n")
                for n, v in plain:
                    if n.lower() not in NAMING_ATTRIBUTES:
                        adds.write(f"replace: {n}\n" + line(n, v) + "-\n")
                adds.write("\n")
            else:
                adds.write(line("dn", dn) + "changetype: add\n")
                adds.writelines(line(n, v) for n, v in plain)
                adds.write("\n")
            if linked:
                links.write(line("dn", dn) + "changetype: modify\n")
                for n, v in linked:
                    links.write(f"add: {n}\n" + line(n, v) + "-\n")
                links.write("\n")


if __name__ == "__main__":
    main()
