#!/usr/bin/python3
"""Reads a composed send.eml as a mail program would and checks its attachment's name.

Usage: mailcheck.py PLAIN_EML EML NAME_HEX
PLAIN_EML is the same message for a plain file name: its defects are the ones every message
has today. EML must have no Bcc header in any part, no other defect, and an attachment whose
name (in Content-Type and Content-Disposition) decodes to the bytes NAME_HEX, read as UTF-8
when they are UTF-8 and as the game's Windows-1252 codes otherwise. Prints what is wrong;
the exit status is 1 then.
"""

import email
import email.policy
import sys


def parse(path):
    with open(path, "rb") as f:
        return email.message_from_bytes(f.read(), policy=email.policy.default)


def defects(message):
    found = set()
    for part in message.walk():
        found.update(type(d).__name__ for d in part.defects)
        for _, value in part.items():
            found.update(type(d).__name__ for d in getattr(value, "defects", ()))
    return found


def main():
    plain, message = parse(sys.argv[1]), parse(sys.argv[2])
    raw = bytes.fromhex(sys.argv[3])
    try:
        name = raw.decode("utf-8")
    except UnicodeDecodeError:
        name = raw.decode("cp1252")
    problems = []
    for part in message.walk():
        if "Bcc" in part:
            problems.append("a Bcc header: %r" % part["Bcc"])
    extra = defects(message) - defects(plain)
    if extra:
        problems.append("defects a plain name does not give: %s" % sorted(extra))
    attachments = list(message.iter_attachments())
    if len(attachments) != 1:
        problems.append("%d attachments" % len(attachments))
    else:
        part = attachments[0]
        if part.get_filename() != name:
            problems.append("filename %r, not %r" % (part.get_filename(), name))
        if part["Content-Type"].params.get("name") != name:
            problems.append("name %r, not %r" % (part["Content-Type"].params.get("name"), name))
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
