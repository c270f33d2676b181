#!/usr/bin/env python3
"""What a screen reader finds in the main window, read over AT-SPI as one would read it.

    atspi_test.py ARBRIX DATA-DIR

Runs under Xvfb and a private D-Bus session (atspi_test.sh sets them up). The program starts from
a copy in a temporary folder, so that its settings file is a throw-away one, once in French and
once in English, on the sample domain, with an O.U. opened from the command line. Each control
the test needs is found by its role and its name, as a screen reader user would reach it.
"""

import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

OU = "OU=Informatique,OU=Velmora,DC=velmora,DC=test"

LANGUES = {
    "Français": {
        "boite": "Occurrence à rechercher",
        "bouton": "Go !",
        "plus": "Autres analyses",
        "arbre": "Arborescence de l'annuaire",
        "racine": "Informatique",
        "nature racine": "O.U.",
        "natures": ("O.U.", "Groupe de sécurité", "Liste de distribution", "Compte "),
    },
    "English": {
        "boite": "Search for",
        "bouton": "Go!",
        "plus": "Other analyses",
        "arbre": "Directory tree",
        "racine": "Informatique",
        "nature racine": "O.U.",
        "natures": ("O.U.", "Security group", "Distribution group", "account"),
    },
}

echecs = []


def verifie(condition, message):
    if not condition:
        echecs.append(message)
        print("  FAIL " + message, flush=True)
    return condition


def descendants(acc, predicat, limite=2000):
    """Breadth first, bounded: a tree view may hold many cells."""
    trouves, file, vus = [], [acc], 0
    while file and vus < limite:
        a = file.pop(0)
        vus += 1
        try:
            if predicat(a):
                trouves.append(a)
            file.extend(a.getChildAtIndex(i) for i in range(a.childCount))
        except Exception:
            continue
    return trouves


def application(p, delai=30):
    """The program's accessible application, or None when it never showed or stopped first."""
    fin = time.monotonic() + delai
    while time.monotonic() < fin and p.poll() is None:
        pid = {p.pid} | enfants(p.pid)
        bureau = pyatspi.Registry.getDesktop(0)
        for i in range(bureau.childCount):
            app = bureau.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() in pid:
                    return app
            except Exception:
                continue
        time.sleep(0.3)
    return None


# By constant: the names of roles changed between AT-SPI releases ("push button", "button").
BOUTON = pyatspi.ROLE_PUSH_BUTTON
BOITE = (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
ARBRE = (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE)
LIGNE = (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE_ITEM)
CONTROLES = (BOUTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_RADIO_BUTTON) + ARBRE


def role(acc):
    return acc.getRole()


def attend(app, predicat, delai=20):
    fin = time.monotonic() + delai
    while time.monotonic() < fin:
        trouves = descendants(app, predicat)
        if trouves:
            return trouves
        time.sleep(0.3)
    return []


def lance(programme, donnees, langue):
    dossier = tempfile.mkdtemp(prefix="arbrix-atspi-")
    # A copy outside any system prefix keeps its settings file beside it.
    copie = os.path.join(dossier, "arbrix")
    shutil.copy2(programme, copie)
    for nom in ("English.lng", "sample-domain.ldif"):
        shutil.copy2(os.path.join(donnees, nom), dossier)
    with open(os.path.join(dossier, "Arbrix.ini"), "w", encoding="utf-8") as f:
        f.write("[Config]\nLangue=%s\n" % langue)
    env = dict(os.environ)
    env.update(
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
        QT_ACCESSIBILITY="1",
        QT_QPA_PLATFORM="xcb",
        ARBRIX_DIRECTORY=os.path.join(dossier, "sample-domain.ldif"),
        LANG="C.UTF-8",
    )
    p = subprocess.Popen([copie, OU], env=env, cwd=dossier)
    return p, dossier


def controle(langue, programme, donnees):
    attendu = LANGUES[langue]
    print("== " + langue, flush=True)
    p, dossier = lance(programme, donnees, langue)
    try:
        # The program starts itself again once (huge pages): either process may be the window's.
        app = application(p)
        if app is None and p.poll() is not None:
            # A start refused by a display still settling is the machine's, not the program's.
            print("  the program stopped at start (exit %d): once more" % p.returncode, flush=True)
            shutil.rmtree(dossier, ignore_errors=True)
            p, dossier = lance(programme, donnees, langue)
            app = application(p)
        if not verifie(app is not None, langue + ": the program never showed on the accessibility bus"):
            return
        arbres = attend(app, lambda a: role(a) in ARBRE and a.name == attendu["arbre"])
        if not verifie(arbres, "%s: no tree named %r" % (langue, attendu["arbre"])):
            return
        boites = descendants(app, lambda a: role(a) in BOITE and a.name == attendu["boite"])
        verifie(boites, "%s: no search box named %r" % (langue, attendu["boite"]))
        for nom in (attendu["bouton"], attendu["plus"]):
            boutons = descendants(app, lambda a, nom=nom: role(a) == BOUTON and a.name == nom)
            verifie(boutons, "%s: no button named %r" % (langue, nom))
            if boutons and nom == attendu["plus"]:
                verifie(boutons[0].description, "%s: the button %r has no description" % (langue, nom))
        verifie(arbres[0].description, langue + ": the tree has no description")

        # The rows: label, then what the icon shows. The first is the O.U. opened.
        cellules = attend(arbres[0], lambda a: role(a) in LIGNE and a.name)
        verifie(len(cellules) >= 3, "%s: %d rows in the tree" % (langue, len(cellules)))
        if cellules:
            premier = cellules[0].name
            verifie(
                premier.startswith(attendu["racine"]) and premier.endswith(", " + attendu["nature racine"]),
                "%s: first row %r" % (langue, premier),
            )
        # Each row says what its icon shows, after its label.
        muettes = [c.name for c in cellules if not any(", " in c.name and n in c.name for n in attendu["natures"])]
        verifie(not muettes, "%s: rows that do not say what they are: %r" % (langue, muettes[:5]))
        for c in cellules[:6]:
            print("  row: %s" % c.name, flush=True)

        # No control of the window is without a name.
        anonymes = descendants(
            app,
            lambda a: role(a) in CONTROLES
            and a.getState().contains(pyatspi.STATE_SHOWING)
            and not a.name.strip(),
        )
        verifie(not anonymes, "%s: %d controls without a name: %s" % (langue, len(anonymes), [a.getRoleName() for a in anonymes]))
    finally:
        p.terminate()
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()
        shutil.rmtree(dossier, ignore_errors=True)


def enfants(pid):
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
            return {int(x) for x in f.read().split()}
    except OSError:
        return set()


def attend_serveur_x(delai=20):
    """True once an X client can connect: the server's socket may exist before it accepts."""
    nom = ctypes.util.find_library("xcb")
    if not nom:
        return True
    xcb = ctypes.CDLL(nom)
    xcb.xcb_connect.restype = ctypes.c_void_p
    xcb.xcb_connect.argtypes = (ctypes.c_char_p, ctypes.c_void_p)
    xcb.xcb_connection_has_error.argtypes = (ctypes.c_void_p,)
    xcb.xcb_disconnect.argtypes = (ctypes.c_void_p,)
    fin = time.monotonic() + delai
    while time.monotonic() < fin:
        connexion = xcb.xcb_connect(None, None)
        erreur = xcb.xcb_connection_has_error(connexion)
        xcb.xcb_disconnect(connexion)
        if erreur == 0:
            return True
        time.sleep(0.2)
    return False


def main():
    programme, donnees = sys.argv[1], sys.argv[2]
    if not attend_serveur_x():
        print("FAIL the X server %s never accepted a client" % os.environ.get("DISPLAY"), flush=True)
        return 1
    for langue in LANGUES:
        controle(langue, programme, donnees)
    print("%d passed, %d failed" % (len(LANGUES) - len({e.split(":")[0] for e in echecs}),
                                    len({e.split(":")[0] for e in echecs})))
    return 1 if echecs else 0


if __name__ == "__main__":
    sys.exit(main())
