"""XML replies laid out like the receiver's web interface: tab-indented UTF-8,
or pretty-printed the way some firmware writes them (see render)."""
import re

DECLARATION = '<?xml version="1.0" encoding="UTF-8"?>\n'

# XML 1.0 forbids most C0 controls; C1 controls (DVB emphasis, line break) are legal.
_INVALID = re.compile('[\x00-\x08\x0b\x0c\x0e-\x1f\ud800-\udfff\ufffe\uffff]')


def text_of(value):
    """Value as the receiver writes it: None -> "None", booleans -> "True"/"False"."""
    if value is None:
        return "None"
    if value is True:
        return "True"
    if value is False:
        return "False"
    return str(value)


def escape(text):
    text = _INVALID.sub("", text)
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def render(root, pretty=False):
    """Render a node tree.  A node is (tag, content); content is a list of
    child nodes or a scalar that becomes the element text.  pretty: every
    text on a line of its own between indented tags, quotes and non-ASCII
    characters as character references, and elements no client reads."""
    out = [DECLARATION]
    (_emit_pretty if pretty else _emit)(out, root, 0)
    return "".join(out).encode("utf-8")


# Elements real boxes add that the client has no use for.
_EXTRA = {
    "e2event": [("e2eventgenre", "Unterhaltung & Show"), ("e2eventgenreid", 48)],
    "e2service": [("e2serviceflags", [("e2servicetype", 1)])],
    "e2bouquet": [("e2servicetype", 0)],
    "e2audiotrack": [("e2audiotracktype", "MPEG")],
}


def escape_pretty(text):
    text = escape(text).replace('"', "&quot;").replace("'", "&apos;")
    return "".join(c if ord(c) < 0x80 else "&#%d;" % ord(c) if ord(c) < 0x100
                   else "&#x%X;" % ord(c) for c in text)


def _emit_pretty(out, node, depth):
    tag, content = node
    indent = "  " * depth
    if isinstance(content, list):
        out.append("%s<%s>\r\n" % (indent, tag))
        for child in _EXTRA.get(tag, []) + content:
            _emit_pretty(out, child, depth + 1)
        out.append("%s</%s>\r\n" % (indent, tag))
    else:
        out.append("%s<%s>\r\n%s  %s\r\n%s</%s>\r\n" % (
            indent, tag, indent, escape_pretty(text_of(content)), indent, tag))


def _emit(out, node, depth):
    tag, content = node
    indent = "\t" * depth
    if isinstance(content, list):
        out.append("%s<%s>\n" % (indent, tag))
        for child in content:
            _emit(out, child, depth + 1)
        out.append("%s</%s>\n" % (indent, tag))
    else:
        out.append("%s<%s>%s</%s>\n" % (indent, tag, escape(text_of(content)), tag))


def simple_result(ok, text):
    return ("e2simplexmlresult", [("e2state", bool(ok)), ("e2statetext", text)])
