// The tab's journal: what the administrator did on its screen since its cover note was read,
// kept in the tab's session storage, so that a server that does not hold the screen (restarted,
// another server, or one that let it go while idle) can rebuild it (the server's web/journal.h).
// Entries name elements as the page logic does (page, id, row), never by the node ids of one
// screen.
import { screenId } from './screen_id.js';

const KEY = `cn-journal-${screenId}`;
const MOST_ENTRIES = 1000;
const MOST_BYTES = 48 * 1024;  // the server takes 64 KB in one request

// Another tab's journal copied with the storage of a duplicated tab is not this tab's.
for (const key of Object.keys(sessionStorage)) {
  if (key.startsWith('cn-journal-') && key !== KEY) sessionStorage.removeItem(key);
}

function stored() {
  try {
    return JSON.parse(sessionStorage.getItem(KEY)) ?? { note: null, entries: [] };
  } catch {
    return { note: null, entries: [] };
  }
}

let journal = stored();

function save() {
  let text = JSON.stringify(journal);
  if (text.length > MOST_BYTES || journal.entries.length > MOST_ENTRIES) {
    journal = { note: journal.note, entries: [], lost: 'too many actions to keep' };
    text = JSON.stringify(journal);
  }
  sessionStorage.setItem(KEY, text);
}

// A note was read (null: the read failed): the journal starts again from it.
export function startFrom(note) {
  journal = { note: note ?? null, entries: [] };
  save();
}

// An action the server took; null: one that cannot be named, after which the journal can
// only read the note again.
export function note(entry) {
  if (journal.lost) return;
  if (!entry) {
    journal = { note: journal.note, entries: [], lost: 'an action on an element without a name' };
  } else {
    journal.entries.push(entry);
  }
  save();
}

// What a rebuild posts, and why some of it was not kept ('' when all was).
export function forRebuild() {
  return { journal: { note: journal.note, entries: journal.entries }, lost: journal.lost ?? '' };
}

// Where an element is, as the journal names it: null when it has no id.
export function placeOf(page, element, isWorkspace) {
  if (!element || !element.id) return null;
  const place = { page: isWorkspace ? 'workspace' : 'tab', id: element.id };
  if (!isWorkspace && page.file) place.file = page.file;
  const row = element.parentElement?.closest('tr[id]');
  const scope = row && page.container.contains(row) ? row : page.container;
  if (scope === row) place.row = row.id;
  const same = [...scope.querySelectorAll(`[id="${CSS.escape(element.id)}"]`)];
  const n = same.indexOf(element);
  if (n > 0) place.n = n;
  return place;
}
