"""Reads quarnbase records for the debugger views, whatever the debugger.

The GDB printers (gdb/quarnbase_printers.py) and the LLDB formatters
(lldb/quarnbase_lldb.py) get a record's fields from the debugger and hand them
to the functions here, with a Memory that reads the program's memory. Nothing
here trusts a record: a field that breaks the class's invariants, a count that
cannot be right or memory that cannot be read raises RecordError, whose text
is the short explanation shown in place of the value. Every walk is bounded by
the count it was given, so a broken record costs bounded time.
"""

# Texts and element lists are read up to the debugger's display limit; where
# the user lifted that limit, up to this many characters or elements.
UNLIMITED_CAP = 1 << 16

# Byte escapes of a C string literal; other bytes outside printable ASCII are
# shown as three-digit octal escapes, which no following digit can extend.
_ESCAPES = {
    0x07: "\\a",
    0x08: "\\b",
    0x09: "\\t",
    0x0A: "\\n",
    0x0B: "\\v",
    0x0C: "\\f",
    0x0D: "\\r",
    0x22: '\\"',
    0x5C: "\\\\",
}


class RecordError(Exception):
    """A record that breaks its class's invariants or points at unreadable
    memory; str() is the short text shown for the value."""


class Memory:
    """The program's memory as the views read it.

    `read(address, size)` returns `size` bytes or raises any exception when
    they cannot be read; `pointer_size` and `byteorder` ("little" or "big")
    describe the program's target."""

    def __init__(self, read, pointer_size, byteorder):
        self._read = read
        self.pointer_size = pointer_size
        self.byteorder = byteorder

    def read(self, address, size):
        """`size` bytes at `address`; RecordError when they cannot be read."""
        if address == 0 or address + size > 1 << (8 * self.pointer_size):
            raise RecordError("unreadable memory at 0x%x" % address)
        try:
            data = bytes(self._read(address, size))
        except Exception:
            raise RecordError("unreadable memory at 0x%x" % address) from None
        if len(data) != size:
            raise RecordError("unreadable memory at 0x%x" % address)
        return data

    def pointers(self, address, count):
        """The `count` pointers stored from `address` on, as ints."""
        n = self.pointer_size
        data = self.read(address, count * n)
        return [int.from_bytes(data[i : i + n], self.byteorder) for i in range(0, len(data), n)]


def limit_or_cap(limit):
    """The display limit `limit`, or UNLIMITED_CAP where it is 0 or None."""
    return limit if limit else UNLIMITED_CAP


def quote(text, truncated):
    """`text` (bytes) as a C string literal, with "..." after it when the
    string goes on past it."""
    out = []
    for byte in text:
        if byte in _ESCAPES:
            out.append(_ESCAPES[byte])
        elif 0x20 <= byte < 0x7F:
            out.append(chr(byte))
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"' + ("..." if truncated else "")


def string_summary(memory, capacity, length, buffer, limit):
    """The view of a StringC record: its text (up to `limit` characters),
    length and capacity. A zero-filled record (null buffer) reads as the
    empty string."""
    try:
        if length > capacity:
            raise RecordError("length %d above capacity %d" % (length, capacity))
        if buffer == 0 and capacity != 0:
            raise RecordError("no buffer for capacity %d" % capacity)
        shown = min(length, limit_or_cap(limit))
        text = memory.read(buffer, shown) if shown else b""
        return "%s (length %d, capacity %d)" % (quote(text, shown < length), length, capacity)
    except RecordError as error:
        return "<invalid StringC: %s>" % error


def check_array(memory, data, count, capacity, element_size):
    """Raises RecordError unless the array record (block `data` of `capacity`
    elements of `element_size` bytes, `count` in use) keeps its invariants and
    its first and last elements can be read."""
    if count < 0:
        raise RecordError("negative length %d" % count)
    if count > capacity:
        raise RecordError("length %d above capacity %d" % (count, capacity))
    if (data == 0) != (capacity == 0):
        raise RecordError(
            "no block for capacity %d" % capacity
            if data == 0
            else "block at 0x%x with capacity 0" % data
        )
    if count:
        memory.read(data, element_size)
        memory.read(data + (count - 1) * element_size, element_size)


def array_summary(kind, count, capacity):
    """The header line of an array view."""
    return "%s of length %d, capacity %d" % (kind, count, capacity)


def array_elements(memory, data, count, element_size, chunk=256):
    """Yields the bytes of each of the `count` elements at `data`, reading
    `chunk` elements at a time, so that a consumer that stops early reads
    little."""
    for first in range(0, count, chunk):
        n = min(chunk, count - first)
        block = memory.read(data + first * element_size, n * element_size)
        for i in range(n):
            yield block[i * element_size : (i + 1) * element_size]


def list_elements(memory, head, tail, count, limit):
    """Yields the element pointers of a PtrListC, head to tail, walking at
    most min(count, limit) nodes (`limit` 0 or None: UNLIMITED_CAP). Raises
    RecordError where head, tail and count disagree or where the chain breaks
    off, loops back or overruns its count within the walk."""
    if count < 0:
        raise RecordError("negative count %d" % count)
    if (head == 0) != (count == 0) or (tail == 0) != (count == 0):
        raise RecordError("head, tail and count %d disagree" % count)
    walk = min(count, limit_or_cap(limit))
    previous, node = 0, head
    for index in range(walk):
        if node == 0:
            raise RecordError("chain ends after %d of %d nodes" % (index, count))
        following, back, element = memory.pointers(node, 3)
        # Each node names the one before it: a chain that loops comes back to
        # a node whose `prev` is another node (the head's is null).
        if back != previous:
            raise RecordError("node %d at 0x%x does not link back" % (index, node))
        yield element
        previous, node = node, following
    if walk == count and (node != 0 or previous != tail):
        raise RecordError("chain does not end at the tail after %d nodes" % count)


def plex_capacities(memory, capacity, following, address, limit):
    """Yields the capacities of a PlexC block (`capacity`, at `address`, 0
    when unknown) and of the older blocks of its chain from `following` on,
    for at most `limit` blocks (0 or None: UNLIMITED_CAP). Raises RecordError
    where a block cannot be read or the chain loops."""
    yield capacity
    seen = {address}
    block = following
    while block != 0 and len(seen) < limit_or_cap(limit):
        if block in seen:
            raise RecordError("chain loops back to 0x%x" % block)
        seen.add(block)
        header = memory.read(block, memory.pointer_size + 4)
        yield int.from_bytes(header[memory.pointer_size :], memory.byteorder)
        block = int.from_bytes(header[: memory.pointer_size], memory.byteorder)


def first_error(elements):
    """Runs the iterator `elements` to its end; returns the RecordError that
    stopped it, or None."""
    try:
        for _ in elements:
            pass
    except RecordError as error:
        return error
    return None
