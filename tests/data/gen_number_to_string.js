// Prints "<16 hex digits of the double's bits> <String(x)>" for a fixed set of doubles,
// as a JavaScript engine formats them. The output is checked in as number_to_string.txt
// so the unit tests need no JavaScript engine:
//   node tests/data/gen_number_to_string.js > tests/data/number_to_string.txt
'use strict';

const buf = new DataView(new ArrayBuffer(8));
function hexOf(x) {
  buf.setFloat64(0, x);
  return buf.getBigUint64(0).toString(16).padStart(16, '0');
}
function fromBits(big) {
  buf.setBigUint64(0, big);
  return buf.getFloat64(0);
}

// Deterministic generator (xorshift64*) so the file is reproducible.
let state = 0x9e3779b97f4a7c15n;
const mask = (1n << 64n) - 1n;
function next64() {
  state ^= state >> 12n;
  state ^= (state << 25n) & mask;
  state ^= state >> 27n;
  return (state * 0x2545f4914f6cdd1dn) & mask;
}
function nextUnit() { return Number(next64() >> 11n) / 2 ** 53; }

const values = [
  0, -0, 1, -1, 2, 10, 100, 1000, 12.5, 12.50, 0.5, 0.1, 0.2, 0.1 + 0.2, 1 / 3, 2 / 3,
  123, 1234567, 9007199254740991, 9007199254740992, 9007199254740993, -9007199254740991,
  2 ** 63, 2 ** 64, 18446744073709551615, 12345678901234567890,
  1e20, 1e21, 1e22, 123456789012345680000, 999999999999999900000, 1.5e21, -1e21,
  1e-6, 1e-7, 1.5e-7, 0.000001, 0.0000015, 0.00001234, 123e-20, 1.2345e-10,
  5e-324, -5e-324, 1e-323, 2.2250738585072014e-308, 2.225073858507201e-308,
  1.7976931348623157e308, -1.7976931348623157e308, 1e308, 1e300, 1e-300,
  4.35, 0.3, 100.125, 3.14159, Math.PI, Math.E, Math.SQRT2, 299792458, 6.02214076e23,
  1.602176634e-19, 0.07, 1.005, 2.675, 1e15, 1e16, 1e17, 123456.789, 0.000123456,
  4294967295, 4294967296, -2147483648, 2 ** 53 - 1, 2 ** 53 + 2, 2 ** 1023, 2 ** -1022,
  2 ** -1074, 5e-7, 9.999999999999999e20, 1.0000000000000002, 0.9999999999999999,
  Number.MAX_SAFE_INTEGER / 10, 1 / 7, 22 / 7, 7e-7, 6.999999999999999e-7,
  NaN, Infinity, -Infinity,
];

for (let p = -25; p <= 25; p++) {
  values.push(10 ** p, 1.5 * 10 ** p, -7.25 * 10 ** p);
}
for (let i = 0; i < 120; i++) {
  // Random bit patterns, keeping finite ones.
  const x = fromBits(next64());
  if (Number.isFinite(x)) values.push(x);
}
for (let i = 0; i < 100; i++) {
  // Random decimals of everyday size: prices, balances, coordinates.
  const scale = 10 ** Math.floor(nextUnit() * 12 - 4);
  values.push(Math.round(nextUnit() * 1e6) / 100 * scale);
}
for (let i = 0; i < 40; i++) {
  values.push(Math.floor(nextUnit() * 2 ** 53) * (i % 2 ? -1 : 1));
}

for (const x of values) console.log(hexOf(x) + ' ' + String(x));
