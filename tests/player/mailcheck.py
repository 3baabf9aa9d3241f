#!/usr/bin/python3
"""Reads a composed send.eml as a mail program would and checks what arrives.

Usage: mailcheck.py EML NAME SAV
EML must parse without a defect in any part or header, carry no Bcc header, and hold one
attachment whose name (in Content-Type and Content-Disposition) decodes to the bytes of file NAME,
read as UTF-8 when they are UTF-8 and as the game's Windows-1252 codes otherwise, and whose
content is exactly the bytes of the file SAV, also after a mail program rewrites the message's
line ends and drops its NULs. Prints what is wrong; the exit status is 1 then.
"""

import email
import email.policy
import sys
from pathlib import Path


def defects(message):
    found = []
    for part in message.walk():
        found += [type(d).__name__ for d in part.defects]
        for _, value in part.items():
            found += [type(d).__name__ for d in getattr(value, "defects", ())]
    return found


def check(raw, name, record, problems, how):
    message = email.message_from_bytes(raw, policy=email.policy.default)
    for part in message.walk():
        if "Bcc" in part:
            problems.append("%s: a Bcc header: %r" % (how, part["Bcc"]))
    if defects(message):
        problems.append("%s: defects %s" % (how, sorted(set(defects(message)))))
    attachments = list(message.iter_attachments())
    if len(attachments) != 1:
        problems.append("%s: %d attachments" % (how, len(attachments)))
        return
    part = attachments[0]
    if part.get_filename() != name:
        problems.append("%s: filename %r, not %r" % (how, part.get_filename(), name))
    if part["Content-Type"].params.get("name") != name:
        problems.append("%s: name %r, not %r" % (how, part["Content-Type"].params.get("name"), name))
    content = part.get_payload(decode=True)
    if content != record:
        problems.append("%s: the attachment holds %d bytes that are not the %d of the record"
                        % (how, len(content or b""), len(record)))


def main():
    raw, raw_name, record = (Path(path).read_bytes() for path in sys.argv[1:4])
    try:
        name = raw_name.decode("utf-8")
    except UnicodeDecodeError:
        name = raw_name.decode("cp1252")
    problems = []
    check(raw, name, record, problems, "as written")
    # What a mail program may do to a message on its way: Unix line ends, no NULs.
    check(raw.replace(b"\r\n", b"\n").replace(b"\0", b""), name, record, problems, "as sent")
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
