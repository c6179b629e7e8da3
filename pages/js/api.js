// Talking to the server: one request at a time, in the order the administrator acted, with
// the session's CSRF token on everything that changes state and the tab's screen id on all.

import { screenId } from './screen_id.js';

let csrf = '';
let chain = Promise.resolve();

export function setCsrf(token) {
  csrf = token;
}

export class ServerRefusal extends Error {
  constructor(status, code, message, answer = {}) {
    super(message);
    this.status = status;
    this.code = code;
    this.hints = answer.hints ?? [];  // what made a refused password guessable
    this.answer = answer;
  }
}

async function call(method, path, body) {
  const headers = { Accept: 'application/json', 'X-Screen': screenId };
  if (method !== 'GET') {
    headers['Content-Type'] = 'application/json';
    headers['X-CSRF-Token'] = csrf;
  }
  const response = await fetch(path, {
    method,
    headers,
    body: body === undefined ? undefined : JSON.stringify(body),
    credentials: 'same-origin',
    cache: 'no-store',
  });
  let answer = null;
  try {
    answer = await response.json();
  } catch {
    answer = { error: 'bad-answer', message: 'The server sent no readable answer' };
  }
  if (!response.ok) throw new ServerRefusal(response.status, answer.error, answer.message, answer);
  return answer;
}

// Queues a request behind those already sent; `build` runs when its turn comes, so that it
// reads the state the earlier answers left.
export function enqueue(method, path, build) {
  const turn = chain.then(() => call(method, path, build ? build() : undefined));
  chain = turn.catch(() => {});
  return turn;
}
