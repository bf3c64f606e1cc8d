// One job of the benchmark done by DuckDB through its Node.js package, as a user would
// with a single COPY statement:
//   node duckdbJob.mjs copy|rect|m2ft INPUT OUTPUT [MINX MAXX MINY MAXY]
// The fields are read as text, so that copies keep them exactly as they stand.
import { DuckDBInstance } from '@duckdb/node-api';

const [job, input, output, ...bounds] = process.argv.slice(2);
const quote = (text) => `'${text.replaceAll("'", "''")}'`;
const source = `read_csv(${quote(input)}, header=false, all_varchar=true, delim=',', names=['x','y','z'])`;
let select;
if (job === 'copy') {
  select = `SELECT x, y, z FROM ${source}`;
} else if (job === 'rect') {
  const [minX, maxX, minY, maxY] = bounds.map(Number);
  select = `SELECT x, y, z FROM ${source} WHERE trunc(CAST(x AS DOUBLE)) BETWEEN ${minX} AND ${maxX}` +
           ` AND trunc(CAST(y AS DOUBLE)) BETWEEN ${minY} AND ${maxY}`;
} else if (job === 'm2ft') {
  select = `SELECT printf('%.2f', CAST(x AS DOUBLE) * 3.28084), printf('%.2f', CAST(y AS DOUBLE) * 3.28084),` +
           ` printf('%.3f', CAST(z AS DOUBLE) * 3.28084) FROM ${source}`;
} else {
  console.error(`unknown job ${job}`);
  process.exit(2);
}
const instance = await DuckDBInstance.create(':memory:');
const connection = await instance.connect();
await connection.run(`COPY (${select}) TO ${quote(output)} (FORMAT csv, HEADER false, DELIMITER ',', QUOTE '')`);
