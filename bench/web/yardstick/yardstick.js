// Power as plain script would compute it, with the browser's own number reading.
const value = (id) => Number(document.getElementById(id).value);
const power = () => value('D') * 9.806 * value('H') * value('Q') / 3600 / value('E') * 100 / 1000;
const show = () => { document.getElementById('P').value = power().toFixed(3); };
for (const id of ['H', 'Q', 'D', 'E']) document.getElementById(id).addEventListener('change', show);
document.getElementById('Command1').addEventListener('click', show);
show();
