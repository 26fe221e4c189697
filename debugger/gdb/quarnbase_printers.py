"""GDB pretty-printers for the quarnbase classes.

StringC shows its text, length and capacity; StringAC, DblArrayC, PtrArrayC
and UIntArrayC their length, capacity and elements; PtrListC its length and
element pointers, head to tail; PlexC the capacities of its chain's blocks.
Elements are children, so `set print elements` limits them as it limits
arrays. A record that breaks its invariants, or whose memory cannot be read,
shows as a short "<invalid ...>" text.

The auto-load hook installed for the shared library calls register(); a
static build's user runs `python import quarnbase_printers;
quarnbase_printers.register()` with this folder on sys.path.
"""

import os
import sys

import gdb
import gdb.printing
import gdb.types

_VIEWS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "python")
if os.path.normpath(_VIEWS_DIR) not in map(os.path.normpath, sys.path):
    sys.path.insert(0, os.path.normpath(_VIEWS_DIR))

import quarnbase_views as views  # noqa: E402 (found through the path above)


def _memory():
    """The selected inferior's memory."""
    inferior = gdb.selected_inferior()
    endian = gdb.execute("show endian", to_string=True)
    return views.Memory(
        lambda address, size: inferior.read_memory(address, size),
        gdb.lookup_type("void").pointer().sizeof,
        "big" if "big endian" in endian else "little",
    )


def _limit():
    """`set print elements`: a count, or 0/None for unlimited."""
    return gdb.parameter("print elements")


def _fields(value, *names):
    """The named integer or pointer fields of `value`, as ints."""
    try:
        return [int(value[name]) for name in names]
    except gdb.error:
        raise views.RecordError("unreadable record") from None


def _address(value):
    """The address of `value`, or 0 when it has none."""
    return int(value.address) if value.address is not None else 0


def _checked(kind, function):
    """The view `function()` returns, or "<invalid kind: ...>" when the
    record is broken."""
    try:
        return function()
    except views.RecordError as error:
        return "<invalid %s: %s>" % (kind, error)


def _children(elements):
    """("[i]", element) for each element of the iterator `elements`, and an
    error text as the last child when the iterator stops on a broken record."""
    index = 0
    try:
        for element in elements:
            yield "[%d]" % index, element
            index += 1
    except views.RecordError as error:
        yield "[%d]" % index, "<%s>" % error


class StringCPrinter:
    """A StringC: "text" (length n, capacity m)."""

    def __init__(self, value):
        self.value = value

    def to_string(self):
        def view():
            capacity, length, buffer = _fields(self.value, "allocLength", "dataLength", "buffer")
            return views.string_summary(_memory(), capacity, length, buffer, _limit())

        return _checked("StringC", view)


class ArrayPrinter:
    """StringAC and the scalar arrays: the header line, then the elements as
    values of the element type."""

    def __init__(self, value):
        self.kind = str(gdb.types.get_basic_type(value.type).tag)
        self.value = value
        self.error = None
        try:
            self.data, self.count, self.capacity = _fields(value, "data", "elementCount", "maxSize")
            self.element_type = value["data"].type.target()
            self.memory = _memory()
            views.check_array(
                self.memory, self.data, self.count, self.capacity, self.element_type.sizeof
            )
        except views.RecordError as error:
            self.error = error

    def to_string(self):
        if self.error is not None:
            return "<invalid %s: %s>" % (self.kind, self.error)
        return views.array_summary(self.kind, self.count, self.capacity)

    def children(self):
        if self.error is not None:
            return iter(())
        # GDB takes one child past `set print elements` to know there are
        # more; with no limit, the cap bounds a count that memory happens to
        # back.
        shown = min(self.count, views.limit_or_cap(_limit()) + 1)
        elements = views.array_elements(self.memory, self.data, shown, self.element_type.sizeof)
        return _children(gdb.Value(raw, self.element_type) for raw in elements)

    def display_hint(self):
        return "array"


class PtrListCPrinter:
    """A PtrListC: its length, then its element pointers head to tail. The
    chain is checked as far as `set print elements` reaches."""

    def __init__(self, value):
        self.error = None
        try:
            self.head, self.tail, self.count = _fields(value, "head", "tail", "count")
            self.memory = _memory()
            self.error = views.first_error(self._elements(_limit()))
        except views.RecordError as error:
            self.error = error

    def _elements(self, limit):
        return views.list_elements(self.memory, self.head, self.tail, self.count, limit)

    def to_string(self):
        if self.error is not None:
            return "<invalid PtrListC: %s>" % self.error
        return "PtrListC of length %d" % self.count

    def children(self):
        if self.error is not None:
            return iter(())
        pointer = gdb.lookup_type("void").pointer()
        return _children(gdb.Value(element).cast(pointer) for element in self._elements(None))

    def display_hint(self):
        return "array"


class PlexCPrinter:
    """A PlexC block: the capacities of the blocks of its chain, this one
    first."""

    def __init__(self, value):
        self.error = None
        try:
            self.capacity, self.following = _fields(value, "capacity", "next")
            self.address = _address(value)
            self.memory = _memory()
            self.error = views.first_error(self._capacities(_limit()))
        except views.RecordError as error:
            self.error = error

    def _capacities(self, limit):
        return views.plex_capacities(
            self.memory, self.capacity, self.following, self.address, limit
        )

    def to_string(self):
        if self.error is not None:
            return "<invalid PlexC: %s>" % self.error
        return "PlexC chain"

    def children(self):
        if self.error is not None:
            return iter(())
        return _children(self._capacities(None))

    def display_hint(self):
        return "array"


def build_printer():
    """The collection of quarnbase printers, named "quarnbase" (`info
    pretty-printer`, `disable pretty-printer`)."""
    printer = gdb.printing.RegexpCollectionPrettyPrinter("quarnbase")
    printer.add_printer("StringC", "^StringC$", StringCPrinter)
    for kind in ("StringAC", "DblArrayC", "PtrArrayC", "UIntArrayC"):
        printer.add_printer(kind, "^%s$" % kind, ArrayPrinter)
    printer.add_printer("PtrListC", "^PtrListC$", PtrListCPrinter)
    printer.add_printer("PlexC", "^PlexC$", PlexCPrinter)
    return printer


def register(objfile=None):
    """Registers the printers for `objfile` (the library), or for every
    program when it is None; a second registration replaces the first."""
    gdb.printing.register_pretty_printer(objfile, build_printer(), replace=True)
