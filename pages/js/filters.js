// The behaviours' input filters, applied as the administrator types. The table comes from the
// server with the first render, so the browser and the server filter alike.

let table = {};

export function setFilters(filters) {
  table = filters || {};
}

function printable(code) {
  if (code < 0x20 || (code >= 0x7f && code <= 0x9f)) return false;
  return code !== 0xfffb && code !== 0xfffd && code !== 0xfffe && code !== 0xffff;
}

function inClasses(filter, c) {
  const code = c.codePointAt(0);
  if (filter.digits && c >= '0' && c <= '9') return true;
  if (filter.letters && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return true;
  return filter.printable && printable(code);
}

// One character against one filter: the character to insert, or null when refused.
function applyFilter(filter, text, typed) {
  let c = typed;
  if (filter.upper && c >= 'a' && c <= 'z') c = c.toUpperCase();
  const empty = text.length === 0;
  if (empty && filter.neverFirst.includes(c)) return null;
  if (inClasses(filter, c) || filter.also.includes(c)) return c;
  if (filter.once.includes(c) && !text.includes(c)) return c;
  if (empty && filter.onlyFirst.includes(c)) return c;
  return null;
}

// Every filter of the element's behaviours in turn; without any the character passes.
export function filterCharacter(names, text, typed) {
  let result = typed;
  for (const name of names) {
    const filter = table[name];
    if (!filter || result === null) continue;
    result = applyFilter(filter, text, result);
  }
  return result;
}

// Filters inserted text (typing or pasting) into a text box with filters; returns the text
// to insert instead, or null to let it through unchanged.
export function filterInsertion(names, box, data) {
  if (!names.length || !data) return null;
  const start = box.selectionStart ?? box.value.length;
  const end = box.selectionEnd ?? box.value.length;
  let text = box.value.slice(0, start) + box.value.slice(end);
  let accepted = '';
  for (const typed of data) {
    const c = filterCharacter(names, text + accepted, typed);
    if (c !== null) accepted += c;
  }
  return accepted === data ? null : accepted;
}
