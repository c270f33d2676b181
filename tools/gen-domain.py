#!/usr/bin/env python3
"""Writes a large synthetic Active Directory domain as LDIF, for the benchmarks.

The domain holds one root group ("Bench Root") with M-1 groups nested below it on D levels, N
accounts (users, computers and managed service accounts, some disabled, locked or expiring) spread
over the groups and over a few O.U.s, and a few membership cycles. The output depends only on the
arguments: the same seed gives the same file, byte for byte.

The entries follow the conventions of data/sample-domain.ldif: only what a domain controller
stores, nothing it computes (memberOf, objectCategory, objectSid, the lock-out bit), groups naming
their members. The embedded directory loads the file as it stands; tools/test-dc.sh loads it into
a test domain controller (ARBRIX_TEST_DC_LDIF).
"""

import argparse
import base64
import random
import sys

NEVER = "9223372036854775807"
# 100-ns intervals between 1601-01-01 and 1970-01-01.
EPOCH_AS_FILETIME = 116444736000000000
# Fixed reference instant (2030-01-01 UTC) so that the file does not depend on today's date.
REFERENCE_UNIX = 1893456000
# Lock-out time of the locked accounts (2024-01-01).
LOCKED_SINCE = "133485408000000000"


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--accounts", type=int, default=50000, help="number of accounts (N)")
    p.add_argument("--groups", type=int, default=1000, help="number of groups, root included (M)")
    p.add_argument("--depth", type=int, default=6, help="nesting depth below the root group (D)")
    p.add_argument("--cycles", type=int, default=3, help="membership cycles to plant")
    p.add_argument("--ous", type=int, default=10, help="O.U.s the accounts and groups are spread over")
    p.add_argument("--extra-memberships", type=float, default=0.3,
                   help="share of accounts that belong to a second group")
    p.add_argument("--seed", type=int, default=1, help="random seed")
    p.add_argument("--base", default="DC=bench,DC=example", help="naming context of the domain")
    p.add_argument("-o", "--output", help="output file (default: standard output)")
    args = p.parse_args(argv)
    if args.groups < 1 or args.accounts < 0 or args.depth < 1 or args.ous < 1 or args.cycles < 0:
        p.error("--groups, --depth and --ous must be at least 1; --accounts and --cycles at least 0")
    return args


def escape_rdn_value(value):
    """RFC 4514 escaping of an attribute value inside a DN."""
    out = []
    for i, ch in enumerate(value):
        if ch in ',+"\\<>;=' or (i == 0 and ch in " #") or (i == len(value) - 1 and ch == " "):
            out.append("\\" + ch)
        else:
            out.append(ch)
    return "".join(out)


def ldif_line(attribute, value):
    """One attribute line, base64 when the value is not safe as plain LDIF text (RFC 2849)."""
    safe = value.isascii() and value == value.strip() and not value.startswith((":", "<")) \
        and "\n" not in value and "\r" not in value and "\0" not in value
    if safe:
        return f"{attribute}: {value}"
    return f"{attribute}:: {base64.b64encode(value.encode('utf-8')).decode('ascii')}"


class Entry:
    def __init__(self, dn):
        self.dn = dn
        self.attributes = []  # (name, value) in output order

    def add(self, name, *values):
        for v in values:
            self.attributes.append((name, str(v)))

    def write(self, out):
        out.write(ldif_line("dn", self.dn) + "\n")
        for name, value in self.attributes:
            out.write(ldif_line(name, value) + "\n")
        out.write("\n")


def group_name(i):
    """Group names; a few carry the characters that filters and DNs must escape."""
    if i == 0:
        return "Bench Root"
    special = {7: "Sales (EMEA) {:04d}", 11: "R&D, Paris {:04d}", 13: "Équipe {:04d}",
               17: "Star*Group {:04d}", 19: "Back\\slash {:04d}", 23: "O'Brien {:04d}"}
    for modulo, pattern in special.items():
        if i % 97 == modulo:
            return pattern.format(i)
    return "G{:04d}".format(i)


def group_levels(groups, depth):
    """Level of each group: 0 for the root, then levels 1..depth filled evenly."""
    levels = [0]
    others = groups - 1
    for k in range(others):
        levels.append(1 + k * depth // others)
    return levels


class Domain:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.base = args.base
        self.root_ou = f"OU=Bench,{self.base}"
        self.ous = [f"OU=Site{n:02d},{self.root_ou}" for n in range(args.ous)]
        self.group_dns = []
        self.group_parents = []  # index of the parent group in the nesting tree
        self.group_members = []  # member DNs of each group
        self.accounts = []

    def plan_groups(self):
        rng = self.rng
        levels = group_levels(self.args.groups, self.args.depth)
        by_level = {}
        for i, level in enumerate(levels):
            by_level.setdefault(level, []).append(i)
            ou = self.root_ou if i == 0 else self.ous[i % len(self.ous)]
            self.group_dns.append(f"CN={escape_rdn_value(group_name(i))},{ou}")
            self.group_members.append([])
            parent = -1 if level == 0 else rng.choice(by_level.get(level - 1) or by_level[0])
            self.group_parents.append(parent)
            if parent >= 0:
                self.link(parent, self.group_dns[i])
        self.plant_cycles(levels)

    def ancestors(self, i):
        chain = []
        p = self.group_parents[i]
        while p >= 0:
            chain.append(p)
            p = self.group_parents[p]
        return chain

    def plant_cycles(self, levels):
        """An ancestor (never the root) becomes a member of one of its descendants."""
        candidates = [i for i, level in enumerate(levels) if level >= 2]
        for _ in range(min(self.args.cycles, len(candidates))):
            g = self.rng.choice(candidates)
            ancestors = [a for a in self.ancestors(g) if a != 0]
            if ancestors:
                self.link(g, self.group_dns[self.rng.choice(ancestors)])

    def link(self, group, member_dn):
        if member_dn not in self.group_members[group]:
            self.group_members[group].append(member_dn)

    def plan_accounts(self):
        rng = self.rng
        nested = list(range(1, self.args.groups)) or [0]
        for n in range(self.args.accounts):
            kind = "svce" if n % 40 == 39 else "comp" if n % 8 == 7 else "user"
            sam = {"user": f"u{n:06d}", "comp": f"PC{n:06d}$", "svce": f"svc{n:06d}$"}[kind]
            cn = {"user": f"User {n:06d}", "comp": f"PC{n:06d}", "svce": f"svc{n:06d}"}[kind]
            dn = f"CN={escape_rdn_value(cn)},{self.ous[n % len(self.ous)]}"
            self.accounts.append((dn, kind, sam, cn, n))
            if rng.random() < 0.95:
                self.link(rng.choice(nested), dn)
                if rng.random() < self.args.extra_memberships:
                    self.link(rng.choice(nested), dn)

    @staticmethod
    def account_state(n):
        """Whether the account is disabled and locked, and its accountExpires."""
        disabled = n % 23 == 5
        locked = n % 101 == 3
        if n % 37 == 9:
            expires = str(EPOCH_AS_FILETIME + (REFERENCE_UNIX + 86400 * (n % 400 - 200)) * 10000000)
        else:
            expires = NEVER if n % 2 else "0"
        return disabled, locked, expires

    def write(self, out):
        a = self.args
        out.write(f"# Synthetic domain: {a.accounts} accounts, {a.groups} groups, depth {a.depth}, "
                  f"{a.cycles} cycles, seed {a.seed}\n\nversion: 1\n\n")
        domain = Entry(self.base)
        domain.add("objectClass", "top", "domain", "domainDNS")
        domain.add("dc", self.base.split(",")[0][3:])
        # Locked accounts stay locked until an administrator unlocks them.
        domain.add("lockoutDuration", "-9223372036854775808")
        domain.write(out)
        for dn in [self.root_ou] + self.ous:
            e = Entry(dn)
            e.add("objectClass", "top", "organizationalUnit")
            e.add("ou", dn.split(",")[0][3:])
            e.write(out)
        for i, dn in enumerate(self.group_dns):
            self.write_group(out, i, dn)
        for account in self.accounts:
            self.write_account(out, *account)

    def write_group(self, out, i, dn):
        e = Entry(dn)
        e.add("objectClass", "top", "group")
        e.add("cn", group_name(i))
        e.add("sAMAccountName", f"grp{i:05d}")
        # Mostly security global, some universal and domain local, one in ten distribution.
        e.add("groupType", (-2147483646, -2147483640, -2147483644)[i % 3] if i % 10 else 2)
        if i % 5 == 0:
            e.add("description", f"Bench group {i}")
        e.add("member", *self.group_members[i])
        e.write(out)

    def write_account(self, out, dn, kind, sam, cn, n):
        disabled, locked, expires = self.account_state(n)
        classes = ["top", "person", "organizationalPerson", "user"]
        if kind != "user":
            classes.append("computer")
        if kind == "svce":
            classes.append("msDS-GroupManagedServiceAccount")
        e = Entry(dn)
        e.add("objectClass", *classes)
        e.add("cn", cn)
        e.add("sAMAccountName", sam)
        if kind == "user":
            e.add("displayName", f"Bench User {n:06d}")
            e.add("userPrincipalName", f"{sam}@{self.base.replace('DC=', '').replace(',', '.')}")
        if kind != "user":
            e.add("dNSHostName", f"{cn.lower()}.{self.base.replace('DC=', '').replace(',', '.')}")
        if kind == "svce":
            e.add("msDS-ManagedPasswordInterval", 30)
        e.add("userAccountControl", (512 if kind == "user" else 4096) | (2 if disabled else 0))
        e.add("accountExpires", expires)
        if locked:
            e.add("lockoutTime", LOCKED_SINCE)
        e.write(out)


def main(argv):
    args = parse_args(argv)
    domain = Domain(args)
    domain.plan_groups()
    domain.plan_accounts()
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as out:
            domain.write(out)
    else:
        domain.write(sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
