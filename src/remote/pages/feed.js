"use strict";
// What the three pages share: the now-showing feed over the WebSocket (a one-time ticket first,
// since a page cannot read its HttpOnly cookie), actions, and the verse being heard.

// Calls onNow(value) with every value in order; onStatus(true|false) as the link comes and goes.
function lumoraFeed(onNow, onStatus) {
  let lastSeq = -1;
  const retry = () => { onStatus(false); setTimeout(connect, 2000); };
  async function connect() {
    try {
      const info = await (await fetch("/api/info", { credentials: "same-origin" })).json();
      const ticket = await (await fetch("/api/ticket", { method: "POST", credentials: "same-origin" })).json();
      // location.host keeps an IPv6 address in its brackets
      const host = location.host.replace(/:\d+$/, "");
      const ws = new WebSocket("ws://" + host + ":" + Number(info.webSocketPort) + "/");
      ws.onopen = () => {
        lastSeq = -1; // a restarted server counts from 0 again
        ws.send(JSON.stringify({ ticket: ticket.ticket }));
        onStatus(true);
      };
      ws.onmessage = (e) => {
        let m;
        try { m = JSON.parse(e.data); } catch (x) { return; }
        if (m && m.type === "now" && m.seq > lastSeq) { lastSeq = m.seq; onNow(m); }
      };
      ws.onclose = retry;
    } catch (e) {
      retry();
    }
  }
  connect();
}

function lumoraAction(body) {
  return fetch("/api/action", { method: "POST", credentials: "same-origin",
    headers: { "Content-Type": "application/json" }, body: JSON.stringify(body) });
}

// The index of the verse being heard in the passage, else 0 (the passage's first verse).
function lumoraCurrentVerse(now) {
  const verses = now.passage.verses;
  const i = verses.findIndex((v) => v.label === now.heard);
  return i < 0 ? 0 : i;
}

// The hymn's stanzas: its words cut at blank lines.
function lumoraStanzas(words) {
  return String(words || "").replace(/\r/g, "").split(/\n\s*\n/).map((s) => s.trim()).filter((s) => s);
}

function lumoraClock(seconds) {
  const s = Math.max(0, Math.floor(Number(seconds) || 0));
  return Math.floor(s / 60) + ":" + String(s % 60).padStart(2, "0");
}
