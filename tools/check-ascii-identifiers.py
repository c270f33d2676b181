#!/usr/bin/env python3
"""Fails when an identifier of the C++ sources holds a non-ASCII letter.

Strings, character literals and comments may hold any text; only names are checked, so that
tag tools, debuggers and terminals follow every name of the code.
Usage: tools/check-ascii-identifiers.py [FILE...]   (default: the tracked sources of src, tests, bench)
"""
import pathlib
import re
import subprocess
import sys

RAW_STRING = re.compile(r'(?:u8|u|U|L)?R"([^()\\\s]{0,16})\(')


def identifiers(text):
    """Yields (offset, name) for each identifier outside comments and literals."""
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            i = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            i = n if j < 0 else j + 2
        elif (m := RAW_STRING.match(text, i)) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            end = text.find(')' + m.group(1) + '"', m.end())
            i = n if end < 0 else end + len(m.group(1)) + 2
        elif c == "'" and i > 0 and text[i - 1].isdigit():
            i += 1  # digit separator
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            i = j + 1
        elif c == '_' or c.isalpha():
            j = i + 1
            while j < n and (text[j] == '_' or text[j].isalnum()):
                j += 1
            yield i, text[i:j]
            i = j
        elif c.isdigit():
            j = i + 1
            while j < n and (text[j] == '_' or text[j].isalnum() or text[j] in ".'"):
                j += 1
            i = j
        else:
            i += 1


def main(argv):
    files = argv or subprocess.check_output(
        ['git', 'ls-files', '--', 'src', 'tests', 'bench'], text=True).split()
    found = 0
    for name in files:
        if not re.search(r'\.(cpp|h|hpp|cc|in)$', name):
            continue
        text = pathlib.Path(name).read_text(encoding='utf-8')
        for offset, ident in identifiers(text):
            if not ident.isascii():
                found += 1
                print(f'{name}:{text.count(chr(10), 0, offset) + 1}: non-ASCII identifier: {ident}')
    if found:
        print(f'{found} identifiers with non-ASCII letters; drop the accents (texts and comments keep theirs).')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
