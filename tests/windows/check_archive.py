"""The release archive stands alone: unpacked, every relative link of its Markdown pages
(links and pictures, with their #anchors) resolves inside it, every file that the README's
and the guide's commands take from examples/ is there, every manual page is there as text
too, and so are the programs.

Run as: check_archive.py ARCHIVE.zip
    or: check_archive.py --build BUILD_DIR [CPACK]   (makes the archive with cpack first)
    or: check_archive.py --tree FOLDER       (the links of a folder's pages only, such as
                                              the source tree)
"""

import os
import re
import subprocess
import sys
import tempfile
import zipfile

PROGRAMS = ["bin/boxpaint.exe", "bin/boxpaint-check.exe", "bin/boxpaint-view.exe"]
PAGES_WITH_COMMANDS = ["README.md", "docs/guide.md"]

FENCE = re.compile(r"^(```|~~~).*?^\1", re.M | re.S)
CODE_SPAN = re.compile(r"`[^`\n]*`")
# [text](target "title") and ![text](target); the text may run over lines.
LINK = re.compile(r"\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$", re.M)


def anchors(text):
    """The anchors that a Markdown page's headings make, as GitHub makes them."""
    made = set()
    for heading in HEADING.findall(FENCE.sub("", text)):
        slug = re.sub(r"[^\w\- ]", "", heading.replace("`", "").strip().lower())
        slug = slug.replace(" ", "-")
        unique, n = slug, 1
        while unique in made:
            unique = f"{slug}-{n}"
            n += 1
        made.add(unique)
    return made


def link_faults(root):
    """Every relative link of the Markdown pages under root that does not resolve there."""
    faults = []
    pages = {}
    for folder, folders, names in os.walk(root):
        # A source tree's build folders hold copies of its pages.
        folders[:] = [name for name in folders if not name.startswith((".", "build"))]
        for name in names:
            if name.endswith(".md"):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8") as f:
                    pages[os.path.realpath(path)] = f.read()
    if not pages:
        faults.append("no Markdown page")
    top = os.path.realpath(root)
    for page, text in sorted(pages.items()):
        shown = os.path.relpath(page, top)
        prose = CODE_SPAN.sub("", FENCE.sub("", text))
        for target in LINK.findall(prose):
            if re.match(r"[a-zA-Z][a-zA-Z0-9+.-]*:", target):
                continue  # https:, mailto: and the like
            file, _, anchor = target.partition("#")
            linked = os.path.realpath(os.path.join(os.path.dirname(page), file)) if file else page
            if os.path.commonpath([linked, top]) != top:
                faults.append(f"{shown}: {target} leads out of the folder")
            elif not os.path.exists(linked):
                faults.append(f"{shown}: {target} is missing")
            elif anchor and linked in pages and anchor not in anchors(pages[linked]):
                faults.append(f"{shown}: {target} names no heading of {file or shown}")
    return faults


def archive_faults(root):
    """What the unpacked archive lacks besides its links."""
    faults = [f"{name} is missing" for name in PROGRAMS + ["LICENSE"]
              if not os.path.isfile(os.path.join(root, name))]
    for page in PAGES_WITH_COMMANDS:
        path = os.path.join(root, page)
        if not os.path.isfile(path):
            faults.append(f"{page} is missing")
            continue
        with open(path, encoding="utf-8") as f:
            for example in sorted(set(re.findall(r"\bexamples/[\w.-]*\w", f.read()))):
                if not os.path.isfile(os.path.join(root, example)):
                    faults.append(f"{page} uses {example}, which is missing")
    manual = os.path.join(root, "docs", "man")
    pages = [name for name in os.listdir(manual) if name.endswith(".1")] if os.path.isdir(
        manual) else []
    if not pages:
        faults.append("docs/man holds no manual page")
    for name in pages:
        text = os.path.join(manual, name[:-2] + ".txt")
        if not os.path.isfile(text) or os.path.getsize(text) == 0:
            faults.append(f"docs/man/{name} has no text beside it")
    return faults


def unpacked_root(archive, into):
    """Unpacks the archive into a folder and returns the one folder at its top."""
    with zipfile.ZipFile(archive) as z:
        z.extractall(into)
    tops = os.listdir(into)
    if len(tops) != 1 or not os.path.isdir(os.path.join(into, tops[0])):
        sys.exit(f"{archive}: not one folder at the top but {sorted(tops)}")
    return os.path.join(into, tops[0])


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "--tree":
        faults = link_faults(arguments[1])
        root = arguments[1]
    else:
        with tempfile.TemporaryDirectory() as scratch:
            if len(arguments) in (2, 3) and arguments[0] == "--build":
                config = os.path.join(os.path.abspath(arguments[1]), "CPackConfig.cmake")
                cpack = arguments[2] if len(arguments) == 3 else "cpack"
                subprocess.run([cpack, "-G", "ZIP", "--config", config, "-B", scratch],
                               check=True, stdout=subprocess.DEVNULL)
                made = [name for name in os.listdir(scratch) if name.endswith(".zip")]
                if len(made) != 1:
                    sys.exit(f"cpack made {made}, not one archive")
                archive = os.path.join(scratch, made[0])
            elif len(arguments) == 1:
                archive = arguments[0]
            else:
                sys.exit(__doc__)
            root = unpacked_root(archive, os.path.join(scratch, "unpacked"))
            faults = archive_faults(root) + link_faults(root)
            root = archive
    for fault in faults:
        print(fault)
    print(f"{root}: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
