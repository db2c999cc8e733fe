#!/usr/bin/env python3
"""Counts the product's and the proof's lines and prints their ratio.

A line counts when it holds something besides blanks and comments: C++
comments (// and /* */, outside string literals) are taken out of .cpp and
.h files, and lines that start with # out of CMake, shell and Python files.
Seed corpora and fuzzing dictionaries are data, not code, and bench/ and the
scripts that set up machines are neither product nor proof.

    scripts/proof-ratio.py [--max 0.4]
"""
import os
import re
import sys

PRODUCT = ["io", "settings", "station", "aprs", "records", "send", "cycle", "net", "ui"]
PROOF = ["tests", "fuzz", "soak"]
CODE = (".cpp", ".h", ".in", ".py", ".sh", "CMakeLists.txt")


def without_c_comments(text):
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            i = text.find("\n", i) if "\n" in text[i:] else n
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
        elif text[i] == "R" and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            close = text.find(")" + m.group(1) + '"', i)
            end = close + len(m.group(1)) + 2
            out.append(text[i:end])
            i = end
        elif text[i] in "\"'":
            j = i + 1
            while j < n and text[j] != text[i] and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def count_file(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    if path.endswith((".cpp", ".h", ".in")):
        return sum(1 for line in without_c_comments(text).split("\n") if line.strip())
    return sum(1 for line in text.split("\n") if line.strip() and not line.strip().startswith("#"))


def count(folder):
    total = 0
    for root, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if d != "corpus"]
        total += sum(count_file(os.path.join(root, f)) for f in files if f.endswith(CODE))
    return total


def main():
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    product = {d: count(d) for d in PRODUCT}
    proof = {d: count(d) for d in PROOF}
    p, q = sum(product.values()), sum(proof.values())
    print("product", p, " ".join(f"{d} {n}" for d, n in product.items()))
    print("proof  ", q, " ".join(f"{d} {n}" for d, n in proof.items()))
    print(f"ratio   {q / p:.3f}")
    if "--max" in sys.argv and q / p > float(sys.argv[sys.argv.index("--max") + 1]):
        sys.exit("proof above the limit of " + sys.argv[sys.argv.index("--max") + 1])


main()
