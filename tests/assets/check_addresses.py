#!/usr/bin/python3
"""check_addresses.py REPO: each line of the text files under assets/, data/, docs/, src/ and
tools/ (the pictures are drawn from tools/asset_texts.py) with "http", a mailbox or a domain name
outside the reserved example names. Exit status 1 when any is found."""

import os
import re
import sys

ROOTS = ("assets", "data", "docs", "src", "tools")

# Names set aside for examples and tests (RFC 2606, RFC 6761): the only ones a text may use.
RESERVED = re.compile(r"(^|\.)(example\.(org|com|net)|[a-z0-9-]+\.example|[a-z0-9-]+\.invalid"
                      r"|example|invalid|localhost)$", re.I)

# Top-level domains in the lower case names are written in (items.At is no name; nor is a call
# such as backups.at(i)). File extensions used here (.sh, .py, .md, .cc, .so, .in) are left out.
TLDS = ("com|org|net|edu|gov|mil|int|io|dev|app|info|biz|co|me|ai|tv|eu|uk|de|fr|nl|ru|cn|jp"
        "|us|ca|au|ch|at|se|no|pl|cz|it|es|be|dk|fi|br|ly|gg|xyz|online|site|email|cloud")
DOMAIN = re.compile(r"(?<![\w.-])((?:[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?\.)+(?:%s))"
                    r"(?![\w(-])" % TLDS)
MAILBOX = re.compile(r"[\w.+%-]+@((?:[a-z0-9-]+\.)+[a-z0-9-]+)", re.I)

# The XML namespaces under which Windows reads a program manifest's settings: names it looks
# for, not addresses, and nothing is fetched from them.
MANIFEST_NAMESPACES = re.compile(
    r'xmlns="http://schemas\.microsoft\.com/SMI/20(05|16)/WindowsSettings"')


def problems_in(text):
    text = MANIFEST_NAMESPACES.sub("", text)
    found = []
    if re.search("http", text, re.I):
        found.append("http")
    for match in MAILBOX.finditer(text):
        if not RESERVED.search(match.group(1)):
            found.append("mailbox " + match.group(0))
    for match in DOMAIN.finditer(text):
        name = match.group(1)
        if not RESERVED.search(name):
            found.append("domain " + name)
    return found


def main():
    repo = sys.argv[1]
    count = 0
    for root in ROOTS:
        for folder, _, files in os.walk(os.path.join(repo, root)):
            for name in sorted(files):
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    data = f.read()
                if b"\0" in data:
                    continue  # a picture, sound or pilot file
                text = data.decode("utf-8", errors="replace")
                for number, line in enumerate(text.splitlines(), 1):
                    for problem in problems_in(line):
                        print("%s:%d: %s" % (os.path.relpath(path, repo), number, problem))
                        count += 1
    print("%d foreign addresses" % count)
    return 1 if count else 0


if __name__ == "__main__":
    sys.exit(main())
