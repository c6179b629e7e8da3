// The administrator's own sessions: where and when each began, how long it has been idle,
// and a button that logs out all but this one (a forgotten login on another desk, or one
// that is not his).
import { enqueue } from './api.js';

const dialog = document.getElementById('sessions-dialog');
const list = document.getElementById('sessions-list');
const note = document.getElementById('sessions-note');

const MONTHS = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec'];
const two = (n) => String(n).padStart(2, '0');

// The screen's own date and time, as its Time of Issue and its history show them:
// "07-Dec-2026 03:41:11 AM".
function dateTime(date) {
  const hours = date.getHours() % 12 || 12;
  return `${two(date.getDate())}-${MONTHS[date.getMonth()]}-${date.getFullYear()} ` +
    `${two(hours)}:${two(date.getMinutes())}:${two(date.getSeconds())} ${date.getHours() < 12 ? 'AM' : 'PM'}`;
}

function describe(session) {
  const started = dateTime(new Date(session.started * 1000));
  const idle = Math.round(session.idle_seconds / 60);
  const current = session.current ? ' (this one)' : '';
  return `${started} from ${session.address}, idle ${idle} min${current}`;
}

async function show() {
  const answer = await enqueue('GET', '/api/sessions');
  list.replaceChildren(...answer.sessions.map((session) => {
    const item = document.createElement('li');
    item.textContent = describe(session);
    return item;
  }));
  document.getElementById('sessions-end-others').disabled = answer.sessions.length < 2;
}

document.getElementById('shell-sessions').addEventListener('click', async () => {
  note.textContent = '';
  try {
    await show();
  } catch (refusal) {
    note.textContent = refusal.message;
  }
  dialog.showModal();
});

document.getElementById('sessions-end-others').addEventListener('click', async () => {
  try {
    const answer = await enqueue('POST', '/api/logout-others', () => ({}));
    // The list first, so that what the note says is what the list shows.
    await show();
    note.textContent = `Logged out ${answer.ended} other session${answer.ended === 1 ? '' : 's'}.`;
  } catch (refusal) {
    note.textContent = refusal.message;
  }
});

document.getElementById('sessions-close').addEventListener('click', () => dialog.close());
