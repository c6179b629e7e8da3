// What the login page's steps and the screen's account dialogs share: a refused password told
// with zxcvbn's hints, the recovery codes shown once, and a form posted as the server wants it.

// Shows why a password was refused: the message and the hints, in `box` (role=alert).
export function showPasswordProblem(box, message, hints = []) {
  box.querySelector('p').textContent = message;
  box.querySelector('ul').replaceChildren(...hints.map((hint) => {
    const item = document.createElement('li');
    item.textContent = hint;
    return item;
  }));
  box.hidden = false;
}

export function listRecoveryCodes(list, codes) {
  list.replaceChildren(...codes.map((code) => {
    const item = document.createElement('li');
    item.textContent = code;
    return item;
  }));
}

// Posts the form's fields (or `fields`) as a form and answers with the status and the JSON.
export async function postForm(action, fields) {
  const response = await fetch(action, {
    method: 'POST',
    headers: { Accept: 'application/json' },
    body: new URLSearchParams(fields),
    credentials: 'same-origin',
    cache: 'no-store',
  });
  const answer = await response.json().catch(() => ({}));
  return { ok: response.ok, status: response.status, answer };
}
