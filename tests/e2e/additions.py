#!/usr/bin/env python3
"""The command line's additions on the real program: a disc made from audio
files (FLAC, MP3 and Ogg Vorbis made here, tagged by their encoders), the
catalogue as a spreadsheet read back with Python's csv module, and a case
inlay measured from its cut marks.

    additions.py BINARY
"""
import csv, fcntl, os, re, stat, subprocess, sys, tempfile, wave

binary = sys.argv[1]
failures = []
work = tempfile.mkdtemp()
data = os.path.join(work, "Data")
env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, ".config"), XDG_RUNTIME_DIR=work)
env.pop("DISPLAY", None)  # none of this needs a display


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    return subprocess.run([binary, "--data", data, *args], capture_output=True, env=env)


def files():
    return {n: open(os.path.join(data, n), "rb").read() for n in sorted(os.listdir(data))}


def record(*fields):
    return b"".join(f.encode("cp1252") + b"\r\n" for f in fields)


def audio(name, seconds, encoder, tags):
    wav = os.path.join(work, name + ".wav")
    with wave.open(wav, "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(8000)
        w.writeframes(b"\0\0" * 8000 * seconds)
    path = os.path.join(work, name + "." + encoder[0])
    label, artist, title, year = tags
    command = {
        "flac": ["flac", "-s", "-f", "-T", "PUBLISHER=" + label, "-T", "ARTIST=" + artist,
                 "-T", "DATE=" + year, "-o", path, wav] + (["-T", "TITLE=" + title] if title else []),
        "mp3": ["lame", "--quiet", "--id3v2-only", "--tv", "TPUB=" + label, "--ta", artist,
                "--tt", title, "--ty", year, wav, path],
        "ogg": ["oggenc", "-Q", "-c", "ORGANIZATION=" + label, "-a", artist, "-t", title,
                "-d", year, "-o", path, wav],
    }[encoder[0]]
    subprocess.run(command, check=True)
    return path


os.makedirs(data)
open(os.path.join(data, "index.txt"), "wb").close()

# A disc from three audio files: every tag in its field, the length from the
# audio, the file's name where the title is missing, the format given.
tracks = [audio("one", 65, ("flac",), ("Tidewater", "Ana Lucía Prado", "", "1983")),
          audio("two", 3, ("mp3",), ("Kestrel Sound", "Mireille Dubois", "Café du Port", "1974")),
          audio("three", 181, ("ogg",), ("Meridian", "Kenji Aoyama", "Night Tram", "1981"))]
road = [("Tidewater", "Ana Lucía Prado", "one", "1983", "1:05", "LP", ""),
        ("Kestrel Sound", "Mireille Dubois", "Café du Port", "1974", "0:03", "LP", ""),
        ("Meridian", "Kenji Aoyama", "Night Tram", "1981", "3:01", "LP", "")]
done = run("--add-disc", "Road Trip", "--format", "l", *tracks)
check(done.returncode == 0, "--add-disc ended with %d: %s" % (done.returncode, done.stderr))
check(done.stdout.decode() == "Made the disc 'Road Trip' of 3 tracks:\n1. Ana Lucía Prado – one (1:05)\n"
      "2. Mireille Dubois – Café du Port (0:03)\n3. Kenji Aoyama – Night Tram (3:01)\n", done.stdout)
check(files() == {"index.txt": b" 1 \r\nRoad Trip\r\n3\r\n", "Road Trip.txt": b"".join(record(*t) for t in road)},
      "the disc made from audio files: %r" % files())

# Refusals: each with its message, and nothing written.
before = files()
open(os.path.join(work, "text.mp3"), "w").write("not a sound\n" * 100)
foreign = audio("foreign", 2, ("ogg",), ("Label", "\u65e5\u672c", "Tokyo", "2001"))
for args, said in [
        (["--add-disc", "Abroad", foreign], "'foreign.ogg'"),
        (["--add-disc", "Road Trip", tracks[1]], "There is already a disc named 'Road Trip'."),
        (["--add-disc", "Bad", "--format", "L", tracks[1]], "'L' is not a source format"),
        (["--add-disc", "Text", os.path.join(work, "text.mp3")], "is not an audio file"),
        (["--add-disc", "Odd", os.path.join(work, "one.wav.missing")], "is not a file")]:
    refused = run(*args)
    check(refused.returncode == 1 and said in refused.stderr.decode(),
          "%s: %d %s" % (args[:2], refused.returncode, refused.stderr))
    check(files() == before, "%s wrote to the catalogue" % args[:2])

# While a live program holds the catalogue (its lock file locked by the
# system, as a program holds it), the command line keeps off it.
with open(os.path.join(data, ".platterbook.lock"), "w") as lock:
    me = os.path.basename(os.readlink("/proc/self/exe"))
    lock.write("%d\n%s\n%s\n" % (os.getpid(), me, os.uname().nodename))
    lock.flush()
    fcntl.flock(lock, fcntl.LOCK_EX)
    held = run("--export-csv", "-")
check(held.returncode == 1 and b"already open" in held.stderr, "a held catalogue: %s" % held.stderr)
os.remove(os.path.join(data, ".platterbook.lock"))

# The spreadsheet, read back as a spreadsheet program reads it.
odd = [("Smith, Jones & Co", 'He said "hi"', "Comma, then", "", "4:05", "CD", "line \"two\""),
       ("", "", "Crème brûlée", "1999", "", "", "")]
open(os.path.join(data, "index.txt"), "wb").write(b" 2 \r\nRoad Trip\r\n3\r\nOdd, 'quoted'\r\n2\r\n")
open(os.path.join(data, "Odd, 'quoted'.txt"), "wb").write(b"".join(record(*t) for t in odd))
wrote = run("--export-csv", os.path.join(work, "all.csv"))
check(wrote.returncode == 0, "--export-csv: %s" % wrote.stderr)
raw = open(os.path.join(work, "all.csv"), "rb").read()
check(raw.startswith(b"\xef\xbb\xbf") and raw.count(b"\r\n") == raw.count(b"\n"),
      "the spreadsheet's byte-order mark and line ends")
check(run("--export-csv", "-").stdout == raw, "--export-csv - differs from the file")
rows = list(csv.reader(open(os.path.join(work, "all.csv"), encoding="utf-8-sig", newline="")))
expected = [["Disc", "Track", "Label", "Artist", "Title", "Year", "Length", "Format", "Comments"]]
for name, disc in [("Road Trip", road), ("Odd, 'quoted'", odd)]:
    expected += [[name, str(k + 1), *t] for k, t in enumerate(disc)]
check(rows == expected, "the spreadsheet reads back as %r" % rows)

# Discs from playlists and cue sheets: present files by their tags (as
# written, relative, absolute, a Windows path found by its name, a file: URL),
# missing ones by the list's own text, in either encoding.
cafe = audio("Café noir", 2, ("mp3",), ("Sillon", "Élise Roy", "Noir", "2002"))
url = "file://" + "/".join(map(lambda p: __import__("urllib.parse").parse.quote(p), cafe.split("/")))
gone = ("", "Kenji Aoyama", "Tram d'été", "", "3:35", "EP", "")
present = [road[1][:5] + ("EP", ""), road[0][:5] + ("EP", ""), road[2][:5] + ("EP", ""),
           ("Sillon", "Élise Roy", "Noir", "2002", "0:02", "EP", "")]
entries = ["two.mp3", tracks[0], "C:\\Users\\ana\\Music\\three.ogg", url, "..\\gone\\Tram de nuit.flac"]
lists = {
    "m3u": ("#EXTM3U\r\n" + "".join("#EXTINF:%s,Crème - Brûlée\r\n%s\r\n" % (n, e) for n, e in
                                    zip([1, 2, 3, 4], entries[:4])) +
            "#EXTINF:215.5,Kenji Aoyama - Tram d'été\r\n" + entries[4] + "\r\n").encode("cp1252"),
    "m3u8": ("\ufeff#EXTM3U\n" + "\n".join(entries[:4]) +
             "\n#EXTINF:215.9,Kenji Aoyama - Tram d'été\n" + entries[4] + "\n").encode(),
    "pls": ("[playlist]\n" + "".join("File%d=%s\n" % (k + 1, e) for k, e in enumerate(entries)) +
            "Title5=Kenji Aoyama - Tram d'été\nLength5=215\nNumberOfEntries=5\n").encode(),
    "xspf": ('<?xml version="1.0" encoding="UTF-8"?><playlist version="1" xmlns="http://xspf.org/ns/0/">'
             "<trackList>" + "".join("<track><location>%s</location></track>" % e for e in
                                     ["two.mp3", "file://" + tracks[0], "three.ogg", url]) +
             "<track><location>gone/Tram%20de%20nuit.flac</location><creator>Kenji Aoyama</creator>"
             "<title>Tram d'été</title><duration>215999</duration></track></trackList></playlist>").encode(),
}
for kind, text in lists.items():
    path = os.path.join(work, "list." + kind)
    open(path, "wb").write(text)
    made = run("--add-disc", "From " + kind, "--format", "e", path)
    check(made.returncode == 0 and files().get("From %s.txt" % kind) ==
          b"".join(record(*t) for t in present + [gone]),
          "a disc from a %s playlist: %s %r" % (kind, made.stderr, files().get("From %s.txt" % kind)))

# A burned compilation's cue sheet over one image, pregaps and all, and one
# with a file per track (the last length from the file itself).
sheets = {
    "Burned": 'REM DATE 1998\nPERFORMER "Various"\nTITLE "Summer"\nFILE "image.wav" WAVE\n'
              '  TRACK 01 AUDIO\n    TITLE "Café du Port"\n    PERFORMER "Mireille Dubois"\n'
              '    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE "Night Tram"\n    PERFORMER "Kenji Aoyama"\n'
              '    INDEX 00 03:33:00\n    INDEX 01 03:35:40\n  TRACK 03 AUDIO\n    TITLE "Last"\n'
              '    INDEX 00 06:58:00\n    INDEX 01 07:00:00\n',
    "Per file": 'FILE "one.flac" WAVE\n  TRACK 01 AUDIO\n    TITLE "Uno"\n    PERFORMER "Ana"\n'
                '    INDEX 01 00:00:00\nFILE "three.ogg" OGG\n  TRACK 02 AUDIO\n    TITLE "Tres"\n'
                '    INDEX 01 00:01:00\n',
}
for name, text in sheets.items():
    path = os.path.join(work, name + ".cue")
    open(path, "wb").write(text.encode("cp1252"))
    made = run("--add-disc", name, path)
    expected = ([("", "Mireille Dubois", "Café du Port", "1998", "3:35", "", ""),
                 ("", "Kenji Aoyama", "Night Tram", "1998", "3:24", "", ""),
                 ("", "", "Last", "1998", "", "", "")] if name == "Burned" else
                [("", "Ana", "Uno", "", "1:05", "", ""), ("", "", "Tres", "", "3:00", "", "")])
    check(made.returncode == 0 and files().get(name + ".txt") == b"".join(record(*t) for t in expected),
          "a disc from a cue sheet: %s %r" % (made.stderr, files().get(name + ".txt")))

# The same songs on several discs, group by group in catalogue order.
dups = run("--duplicates").stdout.decode().split("\n\n")
check(dups[0].startswith("Road Trip, track 1: Ana Lucía Prado – one (1:05)\nFrom m3u, track 2: Ana Lucía "
                         "Prado – one (1:05)\nFrom m3u8, track 2:") and len(dups) == 5 and
      "Burned, track 1: Mireille Dubois – Café du Port (3:35)" in dups[1], "--duplicates: %r" % dups)

stats = run("--stats").stdout.decode()
check(stats.startswith("Discs: 8\nTracks: 30\n") and "\n  EP: 20\n" in stats and
      stats.endswith("Most tracks by artist:\n  Kenji Aoyama: 10\n  Mireille Dubois: 6\n"
                     "  Ana Lucía Prado: 5\n  Élise Roy: 4\n  He said \"hi\": 1\n  Ana: 1\n"), "--stats: %s" % stats)

# The spreadsheet read into an empty catalogue gives the same files, byte for byte.
copy = os.path.join(work, "copy", "Data")
os.makedirs(copy)
open(os.path.join(copy, "index.txt"), "wb").close()
run("--export-csv", os.path.join(work, "all.csv"))
back = subprocess.run([binary, "--data", copy, "--import-csv", os.path.join(work, "all.csv")],
                      capture_output=True, env=env)
check(back.returncode == 0 and back.stdout.decode().startswith("Added 8 discs with 30 tracks from")
      and {n: open(os.path.join(copy, n), "rb").read() for n in os.listdir(copy)} == files(),
      "the spreadsheet read back: %s %s" % (back.stdout, back.stderr))

# Refusals: each with its message, and nothing written.
before = files()
open(os.path.join(work, "nested.m3u"), "w").write("two.mp3\nlist.m3u\n")
open(os.path.join(work, "empty.pls"), "w").write("[playlist]\nNumberOfEntries=0\n")
open(os.path.join(work, "lost.m3u"), "w").write("two.mp3\n/nowhere/lost.flac\n")
open(os.path.join(work, "wide.m3u8"), "w").write("#EXTINF:3,\u65e5\u672c - Tokyo\n/nowhere/x.mp3\n")
sheet = os.path.join(work, "sheet.csv")
for args, said, table in [
        (["nested.m3u"], "Entry 2 of 'nested.m3u' is a playlist itself", None),
        (["empty.pls"], "The playlist 'empty.pls' holds no tracks.", None),
        (["lost.m3u"], "Entry 2 of 'lost.m3u', '/nowhere/lost.flac', is not there", None),
        (["wide.m3u8"], "(U+65E5) in entry 1 of 'wide.m3u8' cannot be stored", None),
        ([], "Row 40 of the spreadsheet: There is already a disc named 'Burned'.",
         [("New %d" % (k // 5), k) for k in range(39)] + [("burned", 1)] + [("Z", k) for k in range(20)]),
        ([], "Row 27 of the spreadsheet: Discs with more than 25 tracks are unsupported.",
         [("A", 1)] + [("Many", k) for k in range(26)]),
        ([], "Row 2 of the spreadsheet: The character '\u2192' (U+2192) cannot be stored",
         [("A", 1), ("B \u2192 C", 1)])]:
    if table:
        open(sheet, "w", encoding="utf-8").write("disc,TITLE\n" + "".join("%s,t%d\n" % r for r in table))
    refused = run(*(["--add-disc", "X", *[os.path.join(work, a) for a in args]] if args else ["--import-csv", sheet]))
    check(refused.returncode == 1 and said in refused.stderr.decode(),
          "%s: %d %s" % (args or table[-1], refused.returncode, refused.stderr.decode()))
    check(files() == before, "%s wrote to the catalogue" % (args or "the spreadsheet"))

# A spreadsheet from another program: columns in another order, others
# besides, LF line ends, a line break in a quoted field, the Track column.
open(sheet, "wb").write('Rating,title,Artist,Comments,Track,DISC\n5,Second,B,"two\nlines",2,Other\n'
                        '4,First,A,,1,Other\n'.encode())
other = run("--import-csv", sheet)
check(other.returncode == 0 and files().get("Other.txt") == record("", "A", "First", "", "", "", "")
      + record("", "B", "Second", "", "", "", "two lines"), "another program's spreadsheet: %s" % other.stderr)

# The inlay of the longest disc: A4, two inserts measured from their cut
# marks, every title whole.
longest = [("Some Record Label %d" % k, "The Longest Named Artist Collective %d" % k,
            "A Very Long Song Title With Many Words In It, Part %d" % k, "1999", "7:%02d" % k,
            "LP", "") for k in range(1, 26)]
listed = open(os.path.join(data, "index.txt"), "rb").read().split(b"\r\n")[1:-1] + [b"Longest", b"25"]
open(os.path.join(data, "index.txt"), "wb").write(b" %d \r\n" % (len(listed) // 2) + b"".join(l + b"\r\n" for l in listed))
open(os.path.join(data, "Longest.txt"), "wb").write(b"".join(record(*t) for t in longest))
pdf = os.path.join(work, "inlay.pdf")
drawn = run("--inlay", "Longest", pdf)
check(drawn.returncode == 0, "--inlay: %s" % drawn.stderr)
info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
check("(A4)" in info and "Pages:           1" in info, "the inlay's page: %s" % info)
text = " ".join(subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout.split())
check(all(t[2] in text for t in longest), "a title is missing from the inlay")
# The name on both spines, one on each side of the tray, upright on the page.
boxes = re.findall(r'xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">Longest<',
                   subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True).stdout)
spines = sorted(float(a) for a, b in boxes if float(b) - float(a) < 15)
check(len(spines) == 2 and spines[0] < 100 < 480 < spines[1] < 595, "the spines: %r" % boxes)
for wrong, said in [(["--add-disc", "Two", "--export-csv", "-"], "one of --add-disc, --inlay, --export"),
                    (["--bogus"], "Unknown option 'bogus'."), (["--inlay"], "Missing value after"),
                    (["--export-csv", "-", "x"], "unexpected argument 'x'")]:
    usage = run(*wrong)
    check(usage.returncode == 2 and usage.stderr.startswith(b"platterbook: " + said.encode()), wrong)

# The page at 10 pixels a millimetre: cut marks are the 5 mm lines, one
# pixel or two thick; the inserts' edges are where they point.
subprocess.run(["pdftoppm", "-r", "254", "-gray", pdf, os.path.join(work, "page")], check=True)
pgm = open(os.path.join(work, "page-1.pgm"), "rb").read().split(b"\n", 3)
width, height = map(int, pgm[1].split())
image = pgm[3].translate(bytes(35 if b < 128 else 46 for b in range(256)))  # dark '#', light '.'


def marks(lines, shortest):  # (line, start) in mm of each whole dark run, thin
    return [(i / 10, m.start() / 10) for i, line in enumerate(lines[2:-2], 2)
            for m in re.finditer(rb"(?<!#)#{%d,54}(?!#)" % shortest, line)
            if lines[i - 2][(m.start() + m.end()) // 2] == lines[i + 2][(m.start() + m.end()) // 2] == 46]


across = marks([image[y * width:(y + 1) * width] for y in range(height)], 46)
down = marks([image[x::width] for x in range(width)], 28)


def edges(values):  # one edge per group of marks a millimetre apart
    out = []
    for v in sorted(values):
        if not out or v - out[-1] > 1:
            out.append(v)
    return out


for name, top, bottom, wide, high in [("front", 0, 150, 120, 120), ("tray", 150, 297, 151, 118)]:
    xs = edges(x for x, y in down if top <= y < bottom)
    ys = edges(y for y, x in across if top <= y < bottom)
    check(len(xs) >= 2 and len(ys) == 2 and abs(xs[-1] - xs[0] - wide) < 0.4 and abs(ys[1] - ys[0] - high) < 0.4,
          "the %s insert measures %s x %s" % (name, xs, ys))
check(len(xs) == 4 and abs(xs[1] - xs[0] - 6.5) < 0.4 and abs(xs[3] - xs[2] - 6.5) < 0.4,
      "the spines: %s" % xs)

# Hostile files and paths. Tags with line breaks and a NUL: one line each.
odd_tags = audio("odd", 1, ("flac",), ("Label", "Art_ist", "Line1__Line2_Line3_End", "1990"))
raw = open(odd_tags, "rb").read()
raw = raw.replace(b"Art_ist", b"Art\0ist").replace(b"Line1__Line2_Line3_End", b"Line1\r\nLine2\nLine3\rEnd")
open(odd_tags, "wb").write(raw)
mp3 = audio("crlf", 1, ("mp3",), ("Label", "Artist", "Two\r\nLines", "1990"))
made = run("--add-disc", "Odd tags", odd_tags, mp3)
check(made.returncode == 0 and files()["Odd tags.txt"] ==
      record("Label", "Art ist", "Line1 Line2 Line3 End", "1990", "0:01", "", "")
      + record("Label", "Artist", "Two Lines", "1990", "0:01", "", ""),
      "tags with line breaks: %r %r" % (made.stderr, files().get("Odd tags.txt")))

# Devices and pipes are written to, never replaced; a failed write says so.
fifo = os.path.join(work, "pipe")
os.mkfifo(fifo)
reader = subprocess.Popen(["cat", fifo], stdout=subprocess.PIPE)
piped = run("--export-csv", fifo)
check(piped.returncode == 0 and reader.communicate()[0] == run("--export-csv", "-").stdout
      and stat.S_ISFIFO(os.stat(fifo).st_mode), "--export-csv to a pipe: %s" % piped.stderr)
check(b"cannot be read" in run("--import-csv", fifo).stderr, "--import-csv from a pipe is no spreadsheet")
for args in (["--export-csv", "/dev/full"], ["--inlay", "Road Trip", "/dev/full"]):
    full = run(*args)
    check(full.returncode == 1 and b"Wrote" not in full.stdout and b"/dev/full" in full.stderr,
          "%s: %d %s %s" % (args, full.returncode, full.stdout, full.stderr))
    check(stat.S_ISCHR(os.stat("/dev/full").st_mode), "/dev/full is gone")
for task, what in (("--stats", b"figures"), ("--duplicates", b"duplicates")):
    with open("/dev/full", "wb") as full_out:
        full = subprocess.run([binary, "--data", data, task], stdout=full_out, stderr=subprocess.PIPE, env=env)
    check(full.returncode == 1 and full.stderr.strip() == b"Could not write the %s to standard output." % what,
          "%s to a full disk: %d %s" % (task, full.returncode, full.stderr))

# A link out of Data is never written through; a disc file missing or short
# is named, and no inlay is drawn of it.
before = files()
outside = os.path.join(work, "outside.txt")
os.replace(os.path.join(data, "index.txt"), outside)
os.symlink(outside, os.path.join(data, "index.txt"))
linked = run("--add-disc", "Linked", mp3)
check(linked.returncode == 1 and b"outside the catalogue's folder" in linked.stderr
      and open(outside, "rb").read() == before["index.txt"], "a link out of Data: %s" % linked.stderr)
os.replace(outside, os.path.join(data, "index.txt"))
os.remove(os.path.join(data, "Road Trip.txt"))
csv_out = run("--export-csv", "-")
check(csv_out.returncode == 0 and b"Road Trip.txt' of the disc 'Road Trip' cannot be read" in csv_out.stderr
      and "Crème brûlée".encode() in csv_out.stdout, "a missing disc file: %s" % csv_out.stderr)
check(run("--inlay", "Road Trip", pdf).returncode == 1, "--inlay drew a disc without its file")

# An index whose count is one pair short reads whole, and the next change
# puts the count right; an empty index beside disc files is refused.
open(os.path.join(data, "index.txt"), "wb").write(b" 1 \r\nLongest\r\n25\r\nOdd tags\r\n2\r\n")
short = run("--add-disc", "Short count", mp3)
check(short.returncode == 0 and b"holds 1 discs, but it lists 2" in short.stderr and
      files()["index.txt"] == b" 3 \r\nLongest\r\n25\r\nOdd tags\r\n2\r\nShort count\r\n1\r\n",
      "an index one pair short: %s %r" % (short.stderr, files()["index.txt"]))
open(os.path.join(data, "index.txt"), "wb").close()
emptied = run("--add-disc", "Lost", mp3)
check(emptied.returncode == 1 and b"is damaged: it is empty" in emptied.stderr
      and files()["index.txt"] == b"", "an empty index beside discs: %s" % emptied.stderr)

print("%d failures" % len(failures) if failures else "the additions work as documented")
sys.exit(1 if failures else 0)
