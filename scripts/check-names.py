#!/usr/bin/env python3
"""Fails on C++ names that clang-tidy's case check lets through but the naming rule forbids.

Looks at the code of every C++ source (comments and string literals left out, so objectName
strings and report names may keep the controls' old names) for
- routines in UPPER_CASE: an upper-case name with an underscore that is called or declared
  like a function and is no macro (ours are #defined; the others are the libraries' own);
- names made of romanized Japanese words (tai, jikan, settei, ...);
- names of the old controls' form (cmdTaiHozon, lblDspTai, m_txtKey, ...);
- global or static names with a g_ or s_ prefix.
Usage: check-names.py [FILE...]   (default: every C++ source that git knows)
"""

import re
import subprocess
import sys

CODE_DIRS = ("app/", "bench/", "core/", "fuzz/", "tests/", "tools/", "ui/")

# Function-like macros of the libraries we use: POSIX (S_ISDIR), Qt, GoogleTest, valgrind.
LIBRARY_MACROS = re.compile(r"^(S|Q|QT|EXPECT|ASSERT|TEST|TYPED|INSTANTIATE|GTEST|SCOPED|ADD|RUN|CALLGRIND)_")

# Romanized words of the old routine and control names.
ROMANIZED = {
    "allact", "avgtai", "banzuke", "bunseki", "cale", "eddate", "hantei", "heikin", "hiheikin",
    "himan", "hozon", "hugou", "hyojun", "hyouka", "idou", "jikan", "jikeiretsu", "jyou", "jyoukyou",
    "kana", "kensaku", "keyyoubi", "kikan", "kiro", "kizami", "kizuki", "kon", "koumoku", "kugiri",
    "moku", "nashi", "nichis", "niko", "nissuu", "renzoku", "rentai", "settei", "shi", "sincyou",
    "stdate", "suii", "tai", "taijyu", "wara", "yame", "youbi", "zou",
}

# The old control names: a type prefix and a capital (cmdTaiHozon, lblDspTai, optKon2).
CONTROL_FORM = re.compile(r"^(m_)?(cbo|chk|cmd|fra|frm|img|lbl|lst|mcr|msg|mtv|opt|txt)[A-Z0-9_]")

TOKEN = re.compile(r"""
    //[^\n]*|/\*.*?\*/
  | (?:u8|u|U|L)?R"(?P<delim>[^()\\\s"]{0,16})\(.*?\)(?P=delim)"
  | (?:u8|u|U|L)?"(?:\\.|[^"\\\n])*"
  | (?:u8|u|U|L)?'(?:\\.|[^'\\\n])*'
  | \.?\d(?:[eEpP][+-]|[\w.'])*
  | (?P<ident>[A-Za-z_]\w*)
  | (?P<define>\#[ \t]*define[ \t]+(?P<macro>\w+))
  | \s+|.
""", re.S | re.X)


def words(name):
    return [w.lower() for w in re.findall(r"[A-Z]+(?![a-z])|[A-Z]?[a-z]+|\d+", name)]


def code_identifiers(text):
    """(identifier, line, is-followed-by-parenthesis) for the code of @p text, and its macros."""
    found, macros = [], set()
    for m in TOKEN.finditer(text):
        if m.group("define"):
            macros.add(m.group("macro"))
        elif m.group("ident"):
            rest = text[m.end():m.end() + 80].lstrip()
            found.append((m.group("ident"), text.count("\n", 0, m.start()) + 1, rest.startswith("(")))
    return found, macros


def main():
    files = sys.argv[1:]
    if not files:
        listed = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], check=True, capture_output=True, text=True)
        files = [f for f in listed.stdout.split() if f.startswith(CODE_DIRS)]
    texts = {f: open(f, encoding="utf-8").read() for f in files}
    parsed = {f: code_identifiers(t) for f, t in texts.items()}
    our_macros = set().union(*(macros for _, macros in parsed.values())) if parsed else set()

    problems = []
    for path, (identifiers, _) in sorted(parsed.items()):
        seen = set()
        for name, line, called in identifiers:
            why = None
            if re.fullmatch(r"[A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+", name):
                if called and name not in our_macros and not LIBRARY_MACROS.match(name):
                    why = "a routine in UPPER_CASE: name it in lowerCamel English after what it does"
            elif CONTROL_FORM.match(name):
                why = "named like a control: the control's name lives on as its objectName string only"
            elif re.match(r"^[gs]_", name):
                why = "a g_/s_ prefix: variables are lowerCamel, members m_"
            elif any(w in ROMANIZED for w in words(name)):
                why = "a romanized word: name it in English"
            if why and (name, why) not in seen:
                seen.add((name, why))
                problems.append("%s:%d: %s: %s" % (path, line, name, why))
    for problem in problems:
        print(problem)
    if problems:
        print("check-names: %d names break the naming rule" % len(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
