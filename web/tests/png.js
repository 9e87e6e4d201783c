// Reads the PNG files that the headless host writes (8-bit RGB or RGBA, not interlaced) into
// 0x00RRGGBB pixels, so that the browser's frames can be compared with them.
'use strict';

const fs = require('node:fs');
const zlib = require('node:zlib');

function paeth(a, b, c) {
  const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function read(file) {
  const data = fs.readFileSync(file);
  let offset = 8, width = 0, height = 0, channels = 0;
  const chunks = [];
  while (offset < data.length) {
    const length = data.readUInt32BE(offset);
    const type = data.toString('latin1', offset + 4, offset + 8);
    const body = data.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || (body[9] !== 2 && body[9] !== 6) || body[12] !== 0) {
        throw new Error(file + ': not an 8-bit RGB PNG');
      }
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      chunks.push(body);
    }
    offset += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(chunks));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? rows[y * stride + i - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + i] : 0;
      const corner = y > 0 && i >= channels ? rows[(y - 1) * stride + i - channels] : 0;
      const predictor = [0, left, up, (left + up) >> 1, paeth(left, up, corner)][filter];
      rows[y * stride + i] = (line[i] + predictor) & 0xFF;
    }
  }
  const pixels = new Array(width * height);
  for (let i = 0; i < pixels.length; ++i) {
    const p = i * channels;
    pixels[i] = (rows[p] << 16) | (rows[p + 1] << 8) | rows[p + 2];
  }
  return {width: width, height: height, pixels: pixels};
}

module.exports = {read};
