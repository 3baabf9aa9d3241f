"""Texts that ship with Drovak: the help page, the website page and the mail templates."""

import os
import re

# The program ships with nobody's address: reports go where the user's own drovak.ini says.
CONTACT_SETTING = "contactAddress = you@example.org"


def project_version():
    """The version in the project() call of CMakeLists.txt: the one version of the program."""
    top = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                       "CMakeLists.txt")
    with open(top, encoding="utf-8") as f:
        match = re.search(r"^project\(\s*drovak\s+VERSION\s+([0-9.]+)", f.read(), re.M)
    return match.group(1)


VERSION = project_version()

# The boundary that the composed message's attachment part opens with.
BOUNDARY = "----=_NextPart_000_0006_01C1BC2B.043FF300"

ABOUT_LINES = [
    "Drovak keeps your F-22 Raptor pilot files:",
    "callsign, squadron, password, IP address,",
    "side and server name, in the game's colours.",
    "",
    "Glyphs drawn from the DejaVu fonts.",
    "Not made or endorsed by Novalogic.",
    "F-22 Raptor is a trademark of its owner.",
]

# Under the About picture's text: where reports are addressed.
ABOUT_CONTACT = "CONTACT: SET contactAddress IN drovak.ini"

STYLE = """\
body { background: #222222; color: #e6e6e0; font-family: "DejaVu Sans", Verdana, sans-serif;
       margin: 0 auto; max-width: 52em; padding: 1em 2em 3em; line-height: 1.45; }
h1, h2, h3 { color: #ffad00; font-family: "DejaVu Sans Condensed", Verdana, sans-serif;
             letter-spacing: 0.05em; }
h1 { border-bottom: 2px solid #966600; padding-bottom: 0.2em; }
h2 { border-bottom: 1px solid #464644; margin-top: 1.8em; }
a { color: #ffad00; }
code, kbd { background: #101110; color: #ffd480; padding: 0 0.3em; border: 1px solid #464644;
            font-family: "DejaVu Sans Mono", monospace; }
table { border-collapse: collapse; margin: 0.6em 0; }
th, td { border: 1px solid #464644; padding: 0.25em 0.7em; text-align: left;
         vertical-align: top; }
th { background: #2e2e2c; color: #ffad00; }
.swatch { display: inline-block; width: 1.6em; height: 1em; border: 1px solid #464644;
          vertical-align: middle; }
.note { border-left: 3px solid #ffad00; padding-left: 0.8em; color: #c8c8c0; }
"""

COLOUR_ROWS = [
    ("0", "white", "f5f5f5"), ("1", "red", "ff5555"), ("2", "green", "50e169"),
    ("3", "yellow", "ffec46"), ("4", "blue", "5fa5ff"), ("5", "amber", "ffad00"),
    ("6", "magenta", "f06ef0"), ("7", "cyan", "3ce1e1"), ("8", "violet", "af8cff"),
    ("9", "pink", "ffaac8"),
]


def page(title, body):
    return (
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>%s</title>\n<style>\n%s</style>\n</head>\n<body>\n%s</body>\n</html>\n"
        % (title, STYLE, body)
    )


def colour_table():
    rows = "".join(
        "<tr><td><code>~%s</code></td><td><span class=\"swatch\" style=\"background:#%s\">"
        "</span> %s</td></tr>\n" % (d, hexcode, name)
        for d, name, hexcode in COLOUR_ROWS
    )
    return "<table>\n<tr><th>Code</th><th>Colour</th></tr>\n%s</table>\n" % rows


HELP_BODY = """\
<h1>Drovak Quick Help</h1>
<p>Drovak edits the pilot files of the flight simulator F-22 Raptor. The game keeps a pilot's
multiplayer identity in a 440-byte file with the extension <code>.sav</code> and uses the one
named <code>raptor.sav</code> in its folder. Drovak keeps any number of such files in its SAV
folder, shows them in the list on the left and lets you edit six fields of the selected file on
the right.</p>

<h2>The window</h2>
<ul>
<li><b>The list</b> (top left) shows every SAV file of the SAV folder with its callsign and the
date it was last changed, in name order. Click a file to open it in the editor. Click a column
header to see what the column shows. A file shown with a pencil has unsaved changes. A file shown
with a warning sign is not a plain 440-byte pilot file (a different size, or a text without its
end); opening it says once what Save would change. Several files can be selected for
Delete.</li>
<li><b>The fields</b> (right): callsign, squadron name, squadron password, side, IP address and
server name. Click into a field to edit it; the amber bar under the text is the cursor.</li>
<li><b>The colour swatches</b> (left, under the list) insert a colour code at the cursor.</li>
<li><b>The extended characters</b> (left, bottom) insert an accented letter or symbol at the
cursor.</li>
<li><b>The strip at the bottom</b> says for a few seconds what Load and Restore Game Pilot did,
with a click when sound is on.</li>
</ul>

<h2>The fields</h2>
<table>
<tr><th>Field</th><th>Length</th><th>Notes</th></tr>
<tr><td>Callsign</td><td>21</td><td>Your name in multiplayer games. Shown in amber unless it
starts with a colour code.</td></tr>
<tr><td>Squadron name</td><td>21</td><td>Shown in blue unless coloured.</td></tr>
<tr><td>Squadron password</td><td>11</td><td>Letters are always typed as capitals.</td></tr>
<tr><td>Side</td><td>&ndash;</td><td>Click it to step through EITHER, SIDE 1 and SIDE 2.</td></tr>
<tr><td>IP address</td><td>21</td><td>The address of the game host, as you would type it in
the game. Colour codes have no meaning here. Left empty, the file keeps the address of the
template.</td></tr>
<tr><td>Server name</td><td>21</td><td>Shown in green unless coloured.</td></tr>
</table>
<p>Colour codes count towards the length: <code>~3ACE</code> is five characters.</p>

<h2>Editing keys</h2>
<table>
<tr><th>Key</th><th>Does</th></tr>
<tr><td><kbd>Left</kbd> <kbd>Right</kbd> <kbd>Home</kbd> <kbd>End</kbd></td><td>Move the
cursor. Hold <kbd>Shift</kbd> to select.</td></tr>
<tr><td><kbd>Backspace</kbd> <kbd>Delete</kbd></td><td>Delete the character before or after the
cursor, or the selection. A colour code goes as a whole.</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>X</kbd> <kbd>Ctrl</kbd>+<kbd>C</kbd>
<kbd>Ctrl</kbd>+<kbd>V</kbd></td><td>Cut, copy and paste.</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>Z</kbd></td><td>Undo all changes of the open file (see Undo
Modifications).</td></tr>
<tr><td>Mouse</td><td>Click to place the cursor; drag to select.</td></tr>
</table>
<p>The keyboard follows a US layout: the file <code>chrtable.dv</code> in the program folder says
which character each punctuation key gives, without and with <kbd>Shift</kbd>.</p>

<h2>Colour codes</h2>
<p>The game colours a name with codes: a tilde <code>~</code> followed by a digit colours every
character after it, up to the next code. Type <kbd>~</kbd> and a digit, or click a swatch to
insert the code at the cursor. With a selection, clicking a swatch colours just the selection.
A code that repeats the colour already in force is removed, as the game would ignore it.</p>
%(colours)s
<p>Before its first code a field has its own colour: amber for the callsign, blue for the
squadron name, green for the password and the server name. When <i>show colour codes</i> is on,
the field you are editing shows its codes as <code>~</code> and a digit; the other fields show
only the colours.</p>

<h2>Unsaved changes: the working copy</h2>
<p class="note">Drovak never loses an edit. The first change to a file writes a <b>working
copy</b> beside it, with the same name and the extension <code>.dvw</code>, and marks the file
in the list with a pencil. Every further change updates the working copy; the <code>.sav</code>
file itself stays as it was until you save.</p>
<ul>
<li><b>Save</b> writes the changes into the <code>.sav</code> file and deletes the working
copy.</li>
<li><b>Undo Modifications</b> deletes the working copy and shows the saved file again.</li>
<li>Working copies survive closing the program. When you exit, Drovak asks about each file
that has one: <i>Yes</i> saves it, <i>No</i> throws the changes away, <i>Cancel</i> keeps
Drovak open.</li>
<li>Send by Email needs the file saved first, so that the mail carries what is on disk.</li>
</ul>

<h2>Commands</h2>
<h3>File</h3>
<table>
<tr><th>Command</th><th>Does</th></tr>
<tr><td>New</td><td>Makes a new pilot file from the template, shown as
&ldquo;&nbsp;New Sav File&rdquo; at the top of the list until you save it under a name.</td></tr>
<tr><td>Save</td><td>Saves the open file (asks for a name for a new file).</td></tr>
<tr><td>Save As</td><td>Saves the open file under another name.</td></tr>
<tr><td>Load into F-22 Raptor</td><td>Copies the open file, unsaved changes included, into the
game folder as <code>raptor.sav</code>: the next game you start flies with this pilot. Drovak
remembers the file and selects it at the next start. The <code>raptor.sav</code> it replaces is
kept first (see Restore Game Pilot).</td></tr>
<tr><td>Send by Email</td><td>Opens a new mail message in your mail program with the open file
attached.</td></tr>
<tr><td>Restore Game Pilot...</td><td>Lists the game pilots Drovak kept, newest first, by the
time they were replaced and their callsign, and puts the one you choose back into the game folder
as <code>raptor.sav</code> (the pilot there now is kept first). Drovak keeps the last 20, named
by time and callsign, in <code>~/.local/share/drovak/backups/</code>
(<code>$XDG_DATA_HOME/drovak/backups/</code>). Grey while there are none or no game folder is
set.</td></tr>
<tr><td>Duplicate</td><td>Copies the open file to a new name ending in (1), (2), &hellip;</td></tr>
<tr><td>Rename</td><td>Edits the name of the selected file in the list.</td></tr>
<tr><td>Delete</td><td>Moves the selected files and their working copies to the desktop's
trash, after asking; fetch them back from there. Where there is no trash, Drovak asks a second
time before it deletes them for good.</td></tr>
<tr><td>Settings</td><td>Opens the settings (below).</td></tr>
<tr><td>Exit</td><td>Asks about unsaved changes and closes Drovak.</td></tr>
</table>
<h3>Edit</h3>
<table>
<tr><th>Command</th><th>Does</th></tr>
<tr><td>Undo Modifications</td><td>Throws away every unsaved change of the open file.</td></tr>
<tr><td>Cut, Copy, Paste</td><td>Work on the selection of the field being edited.</td></tr>
</table>
<p>A right click offers the same commands: over a field Cut, Copy, Paste and Undo
Modifications; over the list Load, Send by Email, Duplicate, Rename and Delete; elsewhere Load,
Send by Email, Save, Save As, Settings and Undo Modifications.</p>
<h3>Help</h3>
<table>
<tr><th>Command</th><th>Does</th></tr>
<tr><td>Quick Help</td><td>Opens this page in your web browser. Without one, Drovak says
where the page is, to open it yourself; the same for the website and the contact mail.</td></tr>
<tr><td>Tarnel's website</td><td>Opens the Drovak web page.</td></tr>
<tr><td>Contact Tarnel</td><td>Opens a mail message with your settings file attached as text,
for questions and bug reports, addressed to the contact address set in <code>drovak.ini</code>
(see below).</td></tr>
<tr><td>About</td><td>Shows the version; click the picture to close it.</td></tr>
</table>

<h2>Settings</h2>
<table>
<tr><th>Setting</th><th>Meaning</th></tr>
<tr><td>Location of Raptor.exe</td><td>The folder where F-22 Raptor is installed. Load into
F-22 Raptor writes <code>raptor.sav</code> there.</td></tr>
<tr><td>SAV Template File</td><td>The SAV file new files are made from. Every file Drovak
writes takes the game's own data from it; only the six fields come from the editor.
<i>Always use RAPTOR.SAV as template</i> takes the game's own <code>raptor.sav</code>.</td></tr>
<tr><td>Location of SAV Files</td><td>The folder whose SAV files the list shows.
<i>SAV folder is the same as RAPTOR folder</i> keeps them in the game folder.</td></tr>
<tr><td>Sound is on</td><td>Key clicks, the click of a finished Load and the start-up
sound.</td></tr>
<tr><td>Splash Screen is on</td><td>Shows the start-up picture for three seconds.</td></tr>
</table>
<p>The settings live in <code>drovak.ini</code>: beside the program in a portable copy, in
<code>~/.config/drovak/</code> when Drovak is installed. On the first start a
setup wizard asks for the game folder and fills the settings in from it: the folder must hold
<code>raptor.sav</code>, so start the game once before you set Drovak up.</p>

<h2>Good to know</h2>
<ul>
<li>The game reads only <code>raptor.sav</code>. Keep a SAV file for each pilot and use Load
into F-22 Raptor to switch between them.</li>
<li>A file whose IP address field is empty keeps the address of the template file.</li>
<li>The extended characters are those of the game's font; some mail and chat programs show
them differently.</li>
</ul>
<p>Questions, ideas and bug reports go to the contact address of your copy of Drovak, which
it does not come with: add a line such as <code>%(setting)s</code> to
<code>drovak.ini</code>, and Contact Tarnel and the error messages use it. Without one, Contact
Tarnel opens the message for you to address.</p>
"""

WEBSITE_BODY = """\
<h1>Drovak</h1>
<p><b>A pilot file editor for F-22 Raptor.</b> Version %(version)s.</p>
<p>Drovak keeps a folder of F-22 Raptor pilot files (<code>.sav</code>) and edits the six
fields the game shows in multiplayer: callsign, squadron name, squadron password, IP address,
side and server name, with the game's colour codes and extended characters drawn as the game
draws them. One command copies a pilot into the game as <code>raptor.sav</code>; another mails
a pilot file to a squadron mate.</p>

<h2>Features</h2>
<ul>
<li>Every field in the game's colours, with a palette of ten text colours and 119 extended
characters.</li>
<li>Unsaved changes are kept in a working copy and survive a restart; undo throws them away.</li>
<li>New, Save, Save As, Duplicate, Rename and Delete of pilot files from one list.</li>
<li>Load into F-22 Raptor and Send by Email.</li>
</ul>

<h2>Licence</h2>
<p>Drovak is free software under the MIT licence. It runs on Linux and Windows.</p>

<h2>Help and contact</h2>
<p>The Quick Help page comes with the program (Help &gt; Quick Help). For questions and bug
reports, Help &gt; Contact Tarnel opens a message with your settings attached. It is addressed
to the contact address set in <code>drovak.ini</code> by a line such as
<code>%(setting)s</code>; without one, you address it yourself.</p>

<p class="note">F-22 Raptor is a game by Novalogic. Drovak is not made or endorsed by Novalogic
and contains nothing of the game.</p>
"""

# Lines of "contact": the program copies them into info.eml and appends the settings file.
CONTACT_LINES = [
    "To: ",
    "Subject: Drovak %s: question or bug report" % VERSION,
    "X-Unsent: 1",
    "MIME-Version: 1.0",
    "Content-Type: text/plain; charset=windows-1252",
    "Content-Transfer-Encoding: 8bit",
    "",
    "Hello,",
    "",
    "(Describe your question or the problem here: what you did, what you",
    "expected and what happened instead.)",
    "",
    "",
    "My Drovak settings (drovak.ini) follow:",
    "",
]

# Opened when there is no template: no address to fill in, so it says how to set one.
CONTACT_EML_LINES = CONTACT_LINES[:7] + [
    "(No contact address is set: fill in the To: line above, or add the line",
    "\"%s\" to drovak.ini in Drovak's settings folder.)" % CONTACT_SETTING,
    "",
] + CONTACT_LINES[7:-3] + [
    "Drovak version: %s" % VERSION,
]

# Lines of "send": the header part of the message that carries a pilot file.
SEND_LINES = [
    "To: ",
    "Subject: F-22 Raptor pilot file",
    "X-Unsent: 1",
    "MIME-Version: 1.0",
    "Content-Type: multipart/mixed;",
    "\tboundary=\"%s\"" % BOUNDARY,
    "",
    "This is a multi-part message in MIME format.",
    "",
    "--" + BOUNDARY,
    "Content-Type: text/plain; charset=us-ascii",
    "Content-Transfer-Encoding: 7bit",
    "",
    "Here is my F-22 Raptor pilot file. To fly with it, copy it into your",
    "F-22 Raptor folder as raptor.sav, or open it with Drovak, the pilot file",
    "editor for F-22 Raptor.",
]


def text_files():
    values = {"colours": colour_table(), "setting": CONTACT_SETTING, "version": VERSION}
    help_page = page("Drovak Quick Help", HELP_BODY % values)
    website = page("Drovak: pilot file editor for F-22 Raptor", WEBSITE_BODY % values)
    return {
        "help/help.htm": help_page.encode("utf-8"),
        "website.htm": website.encode("utf-8"),
        # Read line by line by the program, which adds its own line ends: plain LF here.
        "contact": "".join(l + "\n" for l in CONTACT_LINES).encode("ascii"),
        "send": "".join(l + "\n" for l in SEND_LINES).encode("ascii"),
        # Opened as it is by the mail program: a complete message with CR LF line ends.
        "contact.eml": "".join(l + "\r\n" for l in CONTACT_EML_LINES).encode("ascii"),
    }
