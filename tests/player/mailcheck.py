#!/usr/bin/python3
"""mailcheck.py EML NAME SAV: EML must parse without defects, carry no Bcc, and hold one
attachment named NAME's bytes (UTF-8, else Windows-1252) holding SAV's bytes, also after a mail
program rewrites its line ends and drops its NULs. Prints what is wrong and exits 1 then."""

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
    if found := sorted(set(defects(message))):
        problems.append("%s: defects %s" % (how, found))
    attachments = list(message.iter_attachments())
    if len(attachments) != 1:
        problems.append("%s: %d attachments" % (how, len(attachments)))
        return
    part = attachments[0]
    for what, got in [("filename", part.get_filename()),
                      ("name", part["Content-Type"].params.get("name"))]:
        if got != name:
            problems.append("%s: %s %r, not %r" % (how, what, got, name))
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
    return int(bool(problems))


if __name__ == "__main__":
    sys.exit(main())
