"""XML replies laid out like the receiver's web interface: tab-indented UTF-8."""
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


def render(root):
    """Render a node tree.  A node is (tag, content); content is a list of
    child nodes or a scalar that becomes the element text."""
    out = [DECLARATION]
    _emit(out, root, 0)
    return "".join(out).encode("utf-8")


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
