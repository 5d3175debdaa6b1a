#!/usr/bin/env bash
# Prints the COMMANDS section of qeltoctl's manual page, for help2man's --include: every command
# and subcommand with its own --help, so the page says what `qeltoctl COMMAND --help` says.
#   qeltoctl-commands.sh QELTOCTL
set -euo pipefail
qeltoctl=$1

# The names under "Subcommands:" in a help text.
subcommands() {
    awk '/^Subcommands:/ { listing = 1; next }
         /^[^ ]/ { listing = 0 }
         listing && /^  [^ ]/ { print $1 }'
}

# One command's help as man page text: the usage line as the subsection title, the description,
# then each positional and option as a tagged paragraph. CLI11 puts the description at column 31,
# on the same line or, when the option runs past that column, alone on the next line. Subcommand
# lists are left out: each subcommand gets its own subsection.
to_roff() {
    awk '
    function roff(text) {
        gsub(/\\/, "\\e", text)
        sub(/^[.\x27]/, "\\\\&&", text)
        return text
    }
    function option(text) {
        text = roff(text)
        gsub(/-/, "\\-", text)
        return text
    }
    function continuation(text) { return text ~ /^                              [^ ]/ }
    { line[NR] = $0 }
    END {
        for (i = 2; i <= NR; i++) {
            text = line[i]
            if (text ~ /^Usage: /) {
                print ".SS \"" roff(substr(text, 8)) "\""
                print roff(line[1])
            } else if (text ~ /^[A-Za-z]+:$/) {
                listing = (text != "Subcommands:")
            } else if (listing && text ~ /^  [^ ]/) {
                if (continuation(line[i + 1])) {
                    usage = substr(text, 3); description = ""
                } else {
                    usage = substr(text, 3, 28); description = substr(text, 31)
                }
                sub(/ +$/, "", usage)
                if (usage ~ /^-h,--help/) {
                    continue
                }
                split(usage, words, " ")
                rest = substr(usage, length(words[1]) + 2)
                print ".TP"
                print "\\fB" option(words[1]) "\\fR" (rest == "" ? "" : " " option(rest))
                if (description != "") {
                    print roff(description)
                }
            } else if (listing && continuation(text)) {
                sub(/^ +/, "", text)
                print roff(text)
            }
        }
    }'
}

walk() {
    local help
    help=$("$qeltoctl" "$@" --help)
    to_roff <<<"$help"
    local name
    for name in $(subcommands <<<"$help"); do
        walk "$@" "$name"
    done
}

echo "[COMMANDS]"
echo "Each command prints this help with \\fB\\-\\-help\\fR, for example \\fBqeltoctl write \\-\\-help\\fR."
for command in $("$qeltoctl" --help | subcommands); do
    walk "$command"
done
