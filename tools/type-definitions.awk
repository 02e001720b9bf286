# Prints "QUALIFIED-NAME FILE:LINE" for every class, struct or union a C++ file defines at namespace scope.
# Left out: forward declarations, types nested in a class or function, specialisations of a template
# (`struct hash<Key> {`), out-of-line definitions of nested types (`struct Outer::Inner {`) and anything in
# an unnamed namespace (each translation unit has its own). Comments, strings and preprocessor lines are
# skipped. Written for any POSIX awk.

function reset_statement() {
    statement = ""
    statement_line = 0
}

# The scope a "{" opens, from the statement before it: "namespace NAME", "extern" (an extern "C" block)
# or "other" (a class body, a function, an initialiser); a type at namespace scope is recorded.
function open_scope(text,    name, prefix, rest) {
    gsub(/[ \t]+/, " ", text)
    sub(/^ /, "", text)
    sub(/ $/, "", text)
    if (text ~ /^(inline )?namespace( [A-Za-z_][A-Za-z0-9_:]*)?$/) {
        name = text
        sub(/^(inline )?namespace ?/, "", name)
        return name == "" ? "unnamed" : "namespace " name
    }
    if (text ~ /^extern ""$/)
        return "extern"
    if (all_namespaces() && match(text, /(class|struct|union) [A-Za-z_][A-Za-z0-9_]*( final)?( ?:[^:].*| ?:)?$/)) {
        prefix = substr(text, 1, RSTART - 1)
        rest = substr(text, RSTART)
        sub(/^(class|struct|union) /, "", rest)
        name = rest
        sub(/[^A-Za-z0-9_].*$/, "", name)
        sub(/ $/, "", prefix)
        # Only a template head, typedef or attributes may come before the keyword.
        if (prefix ~ /^((template ?<.*>|typedef|\[\[[^]]*\]\]|alignas\([^)]*\)) ?)*$/)
            print qualified(name) " " FILENAME ":" statement_line
    }
    return "other"
}

# True while every open scope is a named namespace or an extern block.
function all_namespaces(    i) {
    for (i = 1; i <= depth; i++)
        if (scope[i] != "extern" && scope[i] !~ /^namespace /)
            return 0
    return 1
}

function qualified(name,    i, result) {
    result = ""
    for (i = 1; i <= depth; i++)
        if (scope[i] ~ /^namespace /)
            result = result substr(scope[i], 11) "::"
    return result name
}

FNR == 1 {
    depth = 0
    in_comment = 0
    reset_statement()
}

{
    line = $0
    if (!in_comment && line ~ /^[ \t]*#/) {
        # A preprocessor line, with its continuations.
        continued = (line ~ /\\$/)
        next
    }
    if (continued) {
        continued = (line ~ /\\$/)
        next
    }
    # Comments and literals out: "/* ... */" (across lines), "// ...", strings and characters emptied.
    out = ""
    while (line != "") {
        if (in_comment) {
            end = index(line, "*/")
            if (end == 0) {
                line = ""
                break
            }
            line = substr(line, end + 2)
            in_comment = 0
            out = out " "
            continue
        }
        if (!match(line, /\/\*|\/\/|"|'/)) {
            out = out line
            break
        }
        out = out substr(line, 1, RSTART - 1)
        token = substr(line, RSTART, RLENGTH)
        line = substr(line, RSTART + RLENGTH)
        if (token == "/*") {
            in_comment = 1
        } else if (token == "//") {
            line = ""
        } else {
            # Up to the closing quote, over escaped characters.
            closing = token == "\"" ? "^([^\"\\\\]|\\\\.)*\"" : "^([^'\\\\]|\\\\.)*'"
            if (match(line, closing))
                line = substr(line, RSTART + RLENGTH)
            else
                line = ""
            out = out token token
        }
    }
    # Statements end at ";", "{" and "}"; "{" opens a scope, "}" closes one.
    while (match(out, /[;{}]/)) {
        piece = substr(out, 1, RSTART - 1)
        mark = substr(out, RSTART, 1)
        out = substr(out, RSTART + 1)
        if (piece ~ /[^ \t]/ && statement_line == 0)
            statement_line = FNR
        statement = statement " " piece
        if (mark == "{") {
            kind = open_scope(statement)
            scope[++depth] = kind
        } else if (mark == "}" && depth > 0) {
            depth--
        }
        reset_statement()
    }
    if (out ~ /[^ \t]/ && statement_line == 0)
        statement_line = FNR
    statement = statement " " out
}
