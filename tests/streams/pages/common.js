// What the stream pages share: completions and helper results as the plug-in reports them, and a step
// that runs once the network and the events it caused are through.
var done = {};
plugin.addEventListener("streamdone", function (id, ok) { done[id] = ok; });
var fetched = {};
plugin.addEventListener("fetched", function (id, ok, body, size) { fetched[id] = { ok: ok, body: body, size: size }; });
function later(f) { setTimeout(f, 10); }
// This page's folder, as an address (the plug-in asks for absolute addresses).
var here = location.href.replace(/[^\/]*$/, "");
