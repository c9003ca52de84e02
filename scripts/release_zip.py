#!/usr/bin/env python3
"""Writes a zip of a folder that is the same, byte for byte, every time the
folder holds the same files:

    release_zip.py FOLDER OUT.zip EPOCH

Every file under FOLDER becomes an entry named by its path below FOLDER
("/"-separated), in sorted order, with EPOCH (seconds since 1970, UTC, as in
SOURCE_DATE_EPOCH) as its time and the same attributes for all: nothing of
the machine, the clock, the umask or the order the file system lists in gets
into the archive. Folders get no entries of their own; unpacking makes them.
"""

import os
import sys
import time
import zipfile

# A regular file, rw-r--r--, recorded as made on Unix: the attributes every
# unpacker understands, the same on whatever machine this runs.
FILE_ATTRIBUTES = (0o100644 << 16)
MADE_ON_UNIX = 3


def zip_time(epoch):
    # A zip time is a local date of 1980 to 2107 in two-second steps; UTC is
    # taken as that date, so the time zone of the machine does not count.
    earliest = 315532800  # 1980-01-01 00:00:00 UTC
    return time.gmtime(max(epoch, earliest))[:6]


def entries(folder):
    found = []
    for directory, subdirectories, files in os.walk(folder):
        for name in files:
            path = os.path.join(directory, name)
            if os.path.islink(path) or not os.path.isfile(path):
                raise SystemExit("release_zip: %s is not a plain file" % path)
            found.append(os.path.relpath(path, folder).replace(os.sep, "/"))
    return sorted(found)


def main(argv):
    if len(argv) != 4:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    folder, out, epoch = argv[1], argv[2], int(argv[3])
    names = entries(folder)
    if not names:
        print("release_zip: %s holds no files" % folder, file=sys.stderr)
        return 1
    stamp = zip_time(epoch)
    # Written aside and moved into place, so a failed run leaves no zip that
    # looks finished.
    temporary = out + ".tmp"
    with zipfile.ZipFile(temporary, "w") as archive:
        for name in names:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = MADE_ON_UNIX
            info.external_attr = FILE_ATTRIBUTES
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(temporary, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
