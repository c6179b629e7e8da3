// Each browser tab has a screen of its own on the server, named by an id the tab makes when it
// is loaded and sends with every request. A reload keeps it: the id is put back in the tab's
// session storage as the page goes. A duplicated tab copies that storage while the page runs,
// when the id is not in it, and so makes one of its own.

const KEY = 'cn-screen';

function freshId() {
  const bytes = crypto.getRandomValues(new Uint8Array(16));
  return `tab-${[...bytes].map((byte) => byte.toString(16).padStart(2, '0')).join('')}`;
}

export const screenId = sessionStorage.getItem(KEY) || freshId();
sessionStorage.removeItem(KEY);
window.addEventListener('pagehide', () => sessionStorage.setItem(KEY, screenId));
window.addEventListener('pageshow', (event) => {
  if (event.persisted) sessionStorage.removeItem(KEY);
});
