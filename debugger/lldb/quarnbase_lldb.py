"""LLDB formatters for the quarnbase classes.

    (lldb) command script import <prefix>/share/quarnbase/lldb/quarnbase_lldb.py

StringC shows its text, length and capacity; StringAC, DblArrayC, PtrArrayC
and UIntArrayC their length, capacity and elements; PtrListC its length and
element pointers, head to tail; PlexC the capacities of its chain's blocks.
Texts stop at target.max-string-summary-length characters and children at
target.max-children-count. A record that breaks its invariants, or whose
memory cannot be read, shows as a short "<invalid ...>" text and no children.
The formatters form the category "quarnbase" (`type category disable
quarnbase` turns them off).
"""

import os
import sys

import lldb

_VIEWS_DIR = os.path.normpath(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "python")
)
if _VIEWS_DIR not in map(os.path.normpath, sys.path):
    sys.path.insert(0, _VIEWS_DIR)

import quarnbase_views as views  # noqa: E402 (found through the path above)

_ARRAYS = ("StringAC", "DblArrayC", "PtrArrayC", "UIntArrayC")


def _setting(valobj, name):
    """The integer value of the debugger setting `name` (0 when unset)."""
    debugger = valobj.GetTarget().GetDebugger()
    values = lldb.SBDebugger.GetInternalVariableValue(name, debugger.GetInstanceName())
    try:
        return int(values.GetStringAtIndex(0))
    except (TypeError, ValueError):
        return 0


def _memory(valobj):
    """The memory of the process (or, without one, of the target) of `valobj`."""
    target = valobj.GetTarget()
    process = valobj.GetProcess()

    def read(address, size):
        error = lldb.SBError()
        if process.IsValid():
            data = process.ReadMemory(address, size, error)
        else:
            data = target.ReadMemory(lldb.SBAddress(address, target), size, error)
        if error.Fail() or data is None:
            raise RuntimeError(error.GetCString())
        return data

    big = target.GetByteOrder() == lldb.eByteOrderBig
    return views.Memory(read, target.GetAddressByteSize(), "big" if big else "little")


def _record(valobj):
    """The record that `valobj` shows: itself, or what the pointer or
    reference `valobj` refers to (the formatters apply to those too)."""
    record = valobj.GetNonSyntheticValue()
    if record.GetType().IsPointerType() or record.GetType().IsReferenceType():
        record = record.Dereference().GetNonSyntheticValue()
    return record


def _kind(record):
    """The class name of `record`, without qualifiers."""
    return record.GetType().GetUnqualifiedType().GetCanonicalType().GetName()


def _fields(record, *names):
    """The named integer or pointer fields of `record`, as ints (signed where
    their type is)."""
    values = []
    for name in names:
        field = record.GetChildMemberWithName(name)
        error = lldb.SBError()
        if field.GetType().GetBasicType() == lldb.eBasicTypeInt:
            values.append(field.GetValueAsSigned(error, 0))
        else:
            values.append(field.GetValueAsUnsigned(error, 0))
        if not field.IsValid() or error.Fail():
            raise views.RecordError("unreadable record")
    return values


class _Container:
    """A container record read for its summary and its children: `summary`,
    and, when the record is sound, `count` children of `element_type` whose
    bytes element(index) reads. An array's elements are read when asked for;
    a list's or a chain's are walked now, one more than
    target.max-children-count, so that LLDB marks a longer one with "..."."""

    def __init__(self, valobj):
        record = _record(valobj)
        kind = _kind(record)
        self.element_type = None
        self.count = 0
        try:
            self.summary = self._read(kind, record, _memory(valobj))
        except views.RecordError as error:
            self.summary = "<invalid %s: %s>" % (kind, error)
            self.count = 0

    def _read(self, kind, record, memory):
        limit = views.limit_or_cap(_setting(record, "target.max-children-count")) + 1
        if kind in _ARRAYS:
            data, count, capacity = _fields(record, "data", "elementCount", "maxSize")
            self.element_type = record.GetChildMemberWithName("data").GetType().GetPointeeType()
            size = self.element_type.GetByteSize()
            views.check_array(memory, data, count, capacity, size)
            self.count = count
            self.element = lambda index: memory.read(data + index * size, size)
            return views.array_summary(kind, count, capacity)
        if kind == "PtrListC":
            head, tail, count = _fields(record, "head", "tail", "count")
            void = record.GetTarget().GetBasicType(lldb.eBasicTypeVoid)
            self.element_type = void.GetPointerType()
            values = list(views.list_elements(memory, head, tail, count, limit))
            size = memory.pointer_size
            summary = "PtrListC of length %d" % count
        else:
            capacity, following = _fields(record, "capacity", "next")
            self.element_type = record.GetChildMemberWithName("capacity").GetType()
            address = record.GetLoadAddress()
            if address == lldb.LLDB_INVALID_ADDRESS:
                address = 0
            values = list(views.plex_capacities(memory, capacity, following, address, limit))
            size = 4
            summary = "PlexC chain"
        self.count = len(values)
        self.element = lambda index: values[index].to_bytes(size, memory.byteorder)
        return summary


def string_summary(valobj, internal_dict):
    """Summary of a StringC."""
    record = _record(valobj)
    try:
        capacity, length, buffer = _fields(record, "allocLength", "dataLength", "buffer")
        limit = _setting(record, "target.max-string-summary-length")
        return views.string_summary(_memory(valobj), capacity, length, buffer, limit)
    except views.RecordError as error:
        return "<invalid StringC: %s>" % error


def container_summary(valobj, internal_dict):
    """Summary of the arrays, PtrListC and PlexC."""
    return _Container(valobj).summary


class ContainerChildren:
    """Synthetic children of the arrays, PtrListC and PlexC: their elements."""

    def __init__(self, valobj, internal_dict):
        self.valobj = valobj
        self.record = None

    def update(self):
        self.record = _Container(self.valobj)
        return False

    def num_children(self):
        return self.record.count if self.record else 0

    def has_children(self):
        return self.num_children() > 0

    def get_child_index(self, name):
        try:
            return int(name.lstrip("[").rstrip("]"))
        except ValueError:
            return -1

    def get_child_at_index(self, index):
        if not 0 <= index < self.num_children():
            return None
        try:
            raw = self.record.element(index)
        except views.RecordError:
            return None
        target = self.valobj.GetTarget()
        data = lldb.SBData()
        data.SetData(lldb.SBError(), raw, target.GetByteOrder(), target.GetAddressByteSize())
        return self.valobj.CreateValueFromData("[%d]" % index, data, self.record.element_type)


def __lldb_init_module(debugger, internal_dict):
    containers = " ".join(_ARRAYS + ("PtrListC", "PlexC"))
    module = __name__
    for command in (
        "type summary add -w quarnbase -F %s.string_summary StringC" % module,
        "type summary add -w quarnbase -e -F %s.container_summary %s" % (module, containers),
        "type synthetic add -w quarnbase -l %s.ContainerChildren %s" % (module, containers),
        "type category enable quarnbase",
    ):
        debugger.HandleCommand(command)
